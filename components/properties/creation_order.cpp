#include "components/properties/propnames.h"

namespace vesk {

const std::array<std::uint8_t, kPropertyCount>& CreationOrder() {
    static const auto order = [] {
        // Ranges of ids, inclusive, in the order they are applied.
        constexpr int ranges[][2] = {{0, 2},     {7, 7},     {132, 132}, {100, 100}, {5, 6},    {3, 4},
                                     {8, 8},     {157, 157}, {9, 14},    {159, 160}, {15, 24},  {153, 156},
                                     {25, 29},   {162, 162}, {30, 79},   {161, 161}, {80, 99},  {101, 131},
                                     {133, 152}, {158, 158}};
        std::array<std::uint8_t, kPropertyCount> ids{};
        std::size_t n = 0;
        for (const auto& r : ranges)
            for (int id = r[0]; id <= r[1]; ++id) ids.at(n++) = static_cast<std::uint8_t>(id);
        return ids;
    }();
    return order;
}

}  // namespace vesk
