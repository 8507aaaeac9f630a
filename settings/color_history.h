#pragma once
// The custom colours of the colour picker double as a most-recent-first
// history of the colours the user accepted.
#include <array>
#include <cstdint>

using CustomColors = std::array<uint32_t, 16>;

// Puts the low 24 bits of `color` first. An equal entry further back moves to
// the front (the list keeps one copy); otherwise the last entry drops out.
void pushRecentColor(CustomColors& colors, uint32_t color);
