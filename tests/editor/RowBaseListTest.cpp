// The block-structured row list against a plain vector model: rows, attributes, offsets, lines, capacity.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "editor/EditorStringList.h"

namespace {

struct ModelRow {
    std::string text;
    TRowAttribute attribute;
};

// Random splices over many blocks, checked row by row against the model with the indexes that find rows,
// offsets and lines.
void checkAgainst(const TEditorStringList& list, const std::vector<ModelRow>& model) {
    ASSERT_EQ(list.Count(), static_cast<int>(model.size()));
    std::int64_t offset = 0;
    int lineEnds = 0;
    for (int i = 0; i < list.Count(); ++i) {
        const ModelRow& m = model[static_cast<std::size_t>(i)];
        ASSERT_EQ(list.RowView(i), m.text) << "row " << i;
        ASSERT_EQ(list.RowAttribute(i), m.attribute) << "row " << i;
        ASSERT_EQ(list.RowOffset(i), offset) << "row " << i;
        ASSERT_EQ(list.LineEndsBefore(i), lineEnds) << "row " << i;
        if (!m.text.empty() || m.attribute == raLineEnd) {
            ASSERT_EQ(list.RowFromOffset(offset), i);
        }
        offset += static_cast<std::int64_t>(m.text.size()) + (m.attribute == raLineEnd ? 2 : 0);
        if (m.attribute != raWrapped) {
            ASSERT_EQ(list.NthLineEndRow(lineEnds), i);
            ++lineEnds;
        }
    }
    ASSERT_EQ(list.TextLength(), offset);
}

}  // namespace

TEST(RowBaseList, IndexOutsideTheListRaisesTheListError) {
    TEditorStringList list;
    list.Add("a");
    try {
        list.Get(1);
        FAIL() << "no error";
    } catch (const EListError& e) {
        EXPECT_STREQ(e.what(), "リストのインデックスが範囲を超えています");
    }
    EXPECT_THROW(list.Attribute(-1), EListError);
    EXPECT_THROW(list.Delete(1), EListError);
    EXPECT_THROW(list.Insert(2, "x"), EListError);
    EXPECT_NO_THROW(list.Insert(1, "x"));
}

TEST(RowBaseList, CapacityGrowsByFourThenSixteenThenAQuarter) {
    EXPECT_EQ(TRowBaseList::GrowCapacity(0), 4);
    EXPECT_EQ(TRowBaseList::GrowCapacity(8), 12);
    EXPECT_EQ(TRowBaseList::GrowCapacity(9), 25);
    EXPECT_EQ(TRowBaseList::GrowCapacity(64), 80);
    EXPECT_EQ(TRowBaseList::GrowCapacity(65), 81);
    EXPECT_EQ(TRowBaseList::GrowCapacity(100), 125);
    TEditorStringList list;
    for (int i = 0; i < 5; ++i) list.Add("r");
    EXPECT_EQ(list.Capacity(), 8);
}

TEST(RowBaseList, ItemFieldsStayWithTheirRowsAcrossBlockSplitsAndMerges) {
    TEditorStringList list;
    for (int i = 0; i < 3000; ++i) {
        list.Add(std::to_string(i));
        list.SetObjectValue(i, static_cast<std::uint32_t>(i));
        list.SetMarks(i, static_cast<std::uint16_t>(i & 0xFFFF));
    }
    list.InvalidateStatesFrom(0);
    list.SetStateText(0, "s0");  // hidden: the row's state is not computed
    EXPECT_EQ(list.StateText(0), "");
    for (int i = 0; i < 1000; ++i) list.Delete(500);
    ASSERT_EQ(list.Count(), 2000);
    EXPECT_EQ(list.Get(499), "499");
    EXPECT_EQ(list.Get(500), "1500");
    EXPECT_EQ(list.ObjectValue(500), 1500u);
    EXPECT_EQ(list.Marks(1999), 2999u & 0xFFFF);
}

TEST(RowBaseList, RandomSplicesMatchAVectorModel) {
    std::mt19937 rng(7);
    TEditorStringList list;
    std::vector<ModelRow> model;
    const TRowAttribute kinds[] = {raLineEnd, raLineEnd, raWrapped};
    for (int step = 0; step < 400; ++step) {
        const int count = list.Count();
        const int first = std::uniform_int_distribution<int>(0, count)(rng);
        const int maxRemove = count - first;
        const int remove = std::uniform_int_distribution<int>(0, std::min(maxRemove, step % 50 == 0 ? 3000 : 4))(rng);
        const int add = std::uniform_int_distribution<int>(0, step % 37 == 0 ? 2500 : 5)(rng);
        std::vector<std::string> texts;
        std::vector<NewRow> rows;
        std::vector<ModelRow> modelRows;
        for (int i = 0; i < add; ++i) {
            texts.push_back(std::string(static_cast<std::size_t>(rng() % 40), static_cast<char>('a' + rng() % 26)));
        }
        for (int i = 0; i < add; ++i) {
            const TRowAttribute at = kinds[rng() % 3];
            rows.push_back(NewRow{texts[static_cast<std::size_t>(i)], at, 0});
            modelRows.push_back({texts[static_cast<std::size_t>(i)], at});
        }
        list.SpliceRows(first, remove, rows);
        model.erase(model.begin() + first, model.begin() + first + remove);
        model.insert(model.begin() + first, modelRows.begin(), modelRows.end());
        if (step % 20 == 0) checkAgainst(list, model);
    }
    checkAgainst(list, model);
}

TEST(RowBaseList, StatesAtOrPastTheMarkReadAsNotComputed) {
    TEditorStringList list;
    for (int i = 0; i < 10; ++i) list.Add("x");
    for (int i = 0; i < 10; ++i) list.SetElementIndex(i, -1);  // computed in order: the mark follows
    EXPECT_EQ(list.StatesComputedBefore(), 10);
    list.SetElementIndex(4, 3);
    list.InvalidateStatesFrom(5);
    EXPECT_EQ(list.ElementIndex(4), 3);
    EXPECT_EQ(list.ElementIndex(5), -2);
    list.SetElementIndex(7, 2);  // out of order: stays hidden until the rows above are computed
    EXPECT_EQ(list.ElementIndex(7), -2);
    list.Insert(2, "new");  // a new row is not computed; the rows below it keep theirs
    EXPECT_EQ(list.ElementIndex(2), -2);
    EXPECT_EQ(list.ElementIndex(5), 3);
}

TEST(RowAttributeData, PacksIntoTheDocumentedBits) {
    TRowAttributeData d;
    d.PrevRowAttribute = raWrapped;
    d.ElementIndex = 13;
    d.WrappedKind = 0x12;
    d.WrappedRemain = 0x34;
    d.Spare[0] = 0x56;
    d.Spare[1] = 0x78;
    d.Spare[2] = 0x9A;
    std::uint32_t w = raTextEnd, w2 = 0xABCD0000u;
    d.packInto(w, w2);
    EXPECT_EQ(w, 0x56341200u | (15u << 4) | (1u << 2) | 2u);
    EXPECT_EQ(w2, 0xABCD9A78u);
    d.ElementIndex = -2;
    d.packInto(w, w2);
    EXPECT_EQ(rowbits::elementIndex(w), -2);
    EXPECT_EQ((w >> 4) & 0xF, 0u);
    EXPECT_EQ(rowbits::elementIndex(rowbits::withElementIndex(0, 99)), 13);  // never spills into other bits
}
