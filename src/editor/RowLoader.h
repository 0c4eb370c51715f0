// Private to the row list: loading a byte stream straight into blocks of rows.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "editor/RowBaseList.h"
#include "editor/RowBlock.h"

namespace rowstore {

using Blocks = std::vector<std::unique_ptr<RowBlock>>;

// Appends the rows of the stream `read` gives to `blocks`, as TRowBaseList::LoadRows describes; reads ask for
// at most `chunk` bytes (0: 64 KB). Chunks come from `spares` while it has one that fits (it may be null), then
// from the system. Returns false on a read error. However it ends, also through an exception from `read`, the
// rows ended so far are in whole blocks at the end of `blocks`; the caller rebuilds its indexes over them.
bool LoadBlocks(Blocks& blocks, const TRowBaseList::ByteReader& read, std::size_t chunk, SpareChunks* spares);

}  // namespace rowstore
