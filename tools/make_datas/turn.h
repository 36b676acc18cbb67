#pragma once

#include <numbers>

namespace datas {

// One whole turn, in radians.
constexpr float turn = 2.0f * std::numbers::pi_v<float>;

}  // namespace datas
