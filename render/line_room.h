// How far each text line of a card may run along its writing direction
// before it leaves the card or meets something it must not cover: the
// card's edge less a 3 mm margin, or 1 mm before the nearest postal code
// group (the addressee's or the sender's) or text line of the other party
// that its column crosses. Pure card-unit arithmetic on the stored layout.
#pragma once

#include <cstdint>

#include "model/document.h"

// The four line blocks of a card.
enum class LineBlock { Address, Name, SenderAddress, SenderName };

// Kept free at the card's edge (3 mm of a 100 mm card of 400 units) and
// before a postal code group or the other party's line (1 mm).
constexpr int32_t kEdgeMargin = 12;
constexpr int32_t kObstacleGap = 4;

// Which way a font writes, from its escapement: down (vertical "@" faces,
// -900 or 2700), right (0), or another angle, which is never fitted.
enum class Writing { Down, Right, Other };
Writing writing_of(const LogFont& font);

// The room of line k of `block` of `card` (the sender's lines are those of
// its chosen sender), in card units from its stored start; zero or less when
// it starts past its limit. A line written at another angle, or a block
// with an unknown k, has kNoLimit.
constexpr int32_t kNoLimit = INT32_MAX / 4;
int32_t line_room(const CardRecord& card, LineBlock block, int k);
