#include "app/plot/RunColours.h"

namespace quarmel {

namespace {

const std::array<std::uint8_t, 3> kColours[] = {
    {31, 119, 180}, {255, 127, 14},  {44, 160, 44},   {214, 39, 40},  {148, 103, 189},
    {140, 86, 75},  {227, 119, 194}, {127, 127, 127}, {188, 189, 34}, {23, 190, 207}};

}  // namespace

std::array<std::uint8_t, 3> RunColour(std::size_t number) {
    return kColours[number % std::size(kColours)];
}

}  // namespace quarmel
