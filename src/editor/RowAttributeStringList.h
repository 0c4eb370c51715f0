// Typed access to the packed row attributes: row attribute, previous row's attribute, colouring state, marks.
#pragma once

#include <cstdint>
#include <string>

#include "editor/RowAttribute.h"
#include "editor/RowBaseList.h"

class TRowAttributeStringList : public TRowBaseList {
public:
    TRowAttribute RowAttribute(int index) const { return rowbits::rowAttribute(Attribute(index)); }
    TRowAttribute PrevRowAttribute(int index) const { return rowbits::prevRowAttribute(Attribute(index)); }
    int ElementIndex(int index) const { return rowbits::elementIndex(Attribute(index)); }
    std::uint16_t Marks(int index) const { return rowbits::marks(Attribute2(index)); }

    void SetRowAttribute(int index, TRowAttribute a) {
        SetAttribute(index, rowbits::withRowAttribute(Attribute(index), a));
    }
    void SetPrevRowAttribute(int index, TRowAttribute a) {
        SetAttribute(index, rowbits::withPrevRowAttribute(Attribute(index), a));
    }
    void SetElementIndex(int index, int element) {
        SetAttribute(index, rowbits::withElementIndex(Attribute(index), element));
    }
    void SetMarks(int index, std::uint16_t m) { SetAttribute2(index, rowbits::withMarks(Attribute2(index), m)); }

    // The start state of a row, unpacked; storing it leaves the row attribute and the marks alone.
    TRowAttributeData RowAttributeData(int index) const {
        std::uint32_t w = 0, w2 = 0;
        Attributes(index, w, w2);
        return TRowAttributeData::unpack(w, w2, StateText(index));
    }
    void SetRowAttributeData(int index, const TRowAttributeData& data) {
        std::uint32_t w = 0, w2 = 0;
        Attributes(index, w, w2);
        data.packInto(w, w2);
        SetRowState(index, w, w2, data.StateText);  // the word last: it may advance the computed-states mark
    }
    // Marks every row from `row` on as not computed (O(1)).
    void ClearStatesFrom(int row) { InvalidateStatesFrom(row); }
};
