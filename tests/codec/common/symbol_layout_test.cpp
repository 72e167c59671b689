#include "codec/common/qr_tables.h"
#include "codec/common/symbol_layout.h"

#include <gtest/gtest.h>

#include <set>

namespace kodaro::codec {
namespace {

TEST(SymbolLayout, DataModulesMatchCapacity) {
    for (int v = 1; v <= 40; ++v) {
        const int size = SymbolSize(v);
        const auto& map = FunctionModuleMap(v);
        ASSERT_EQ(map.size(), static_cast<size_t>(size * size));
        int free = 0;
        for (uint8_t m : map)
            free += m == 0;
        EXPECT_EQ(free, RawDataModules(v)) << v;

        const auto& order = DataModuleOrder(v);
        ASSERT_EQ(order.size(), static_cast<size_t>(RawDataModules(v)));
        std::set<uint16_t> seen(order.begin(), order.end());
        EXPECT_EQ(seen.size(), order.size()) << "each data module is visited once";
        for (uint16_t index : order)
            EXPECT_EQ(map[index], 0);
    }
    EXPECT_TRUE(FunctionModuleMap(0).empty());
    EXPECT_TRUE(DataModuleOrder(41).empty());
}

TEST(SymbolLayout, PlacementStartsBottomRightGoingUp) {
    const int size = SymbolSize(1);
    const auto& order = DataModuleOrder(1);
    EXPECT_EQ(order[0], (size - 1) * size + size - 1);
    EXPECT_EQ(order[1], (size - 1) * size + size - 2);
    EXPECT_EQ(order[2], (size - 2) * size + size - 1);
    // Column 6 (vertical timing) is never used for data.
    for (int v : {1, 7, 40}) {
        const int s = SymbolSize(v);
        for (uint16_t index : DataModuleOrder(v))
            EXPECT_NE(index % s, 6);
    }
}

TEST(SymbolLayout, InformationAreas) {
    const int v = 7;
    const int size = SymbolSize(v);
    const auto& map = FunctionModuleMap(v);
    std::set<std::pair<int, int>> positions;
    for (int copy = 0; copy < 2; ++copy) {
        for (const ModulePos& p : FormatInfoPositions(v, copy))
            positions.insert({p.row, p.col});
        for (const ModulePos& p : VersionInfoPositions(v, copy))
            positions.insert({p.row, p.col});
    }
    EXPECT_EQ(positions.size(), 30u + 36u) << "no two information bits share a module";
    for (auto [row, col] : positions) {
        EXPECT_EQ(map[static_cast<size_t>(row * size + col)], 1);
        EXPECT_FALSE(row == 6 || col == 6) << "information bits avoid the timing patterns";
    }
    // The most significant format bit of copy 0 sits at row 8 column 0, its
    // least significant bit of copy 1 at the right edge of row 8.
    EXPECT_EQ(FormatInfoPositions(v, 0)[14].row, 8);
    EXPECT_EQ(FormatInfoPositions(v, 0)[14].col, 0);
    EXPECT_EQ(FormatInfoPositions(v, 1)[0].col, size - 1);
    EXPECT_EQ(FormatInfoPositions(v, 1)[14].row, size - 1);
    // Version block above the bottom-left finder: 3 rows by 6 columns.
    EXPECT_EQ(VersionInfoPositions(v, 0)[0].row, size - 11);
    EXPECT_EQ(VersionInfoPositions(v, 0)[17].row, size - 9);
    EXPECT_EQ(VersionInfoPositions(v, 0)[17].col, 5);
}

} // namespace
} // namespace kodaro::codec
