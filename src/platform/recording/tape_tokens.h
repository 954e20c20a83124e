// Tokens: one answer as text without blanks, commas, '*' or '=', which the line format
// keeps for itself. Parsers throw ReplayError (without a line; the reader adds it).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/display.h"
#include "platform/input.h"

namespace platform {

// Bytes as a token: '%' and every byte the format reserves, or that is not printable
// ASCII, as %XX.
std::string EscapeText(std::string_view bytes);
std::string UnescapeText(std::string_view token);

std::string IntToken(int64_t v);
int64_t ParseInt(std::string_view token, int64_t lo = INT64_MIN, int64_t hi = INT64_MAX);
// Exact: the shortest text that reads back as the same double.
std::string RealToken(double v);
double ParseReal(std::string_view token);

// A success, or a failure with its reason: "1", "0:reason".
std::string OutcomeToken(bool ok, const std::string& error = "");
bool ParseOutcome(std::string_view token, std::string& error);

// The keys down at a poll: "-" none, "x" the device could not be read, else the
// DirectInput codes joined by '+'.
std::string KeysToken(bool ok, const KeyboardState& state);
bool ParseKeys(std::string_view token, KeyboardState& state);

// One read of the mouse: the count when it is 0 or less (-1: the device failed), else
// the records as OFFSET.DATA joined by ':'.
std::string MouseToken(int n, const MouseRecord* records);
int ParseMouse(std::string_view token, std::vector<MouseRecord>& records);

// One round of the message pump: "-" nothing, else its deliveries joined by ':':
// K<code>.<shift> a key-down, M the mouse signal, Q the window's close.
struct PumpEvent {
  char kind = 0;  // 'K', 'M', 'Q'
  int key = 0, shift = 0;
};
std::string RoundToken(const std::vector<PumpEvent>& events);
std::vector<PumpEvent> ParseRound(std::string_view token);

// The display's mode list: "-" none, else WxHxREFRESHxFORMAT joined by ':'.
std::string ModesToken(const std::vector<DisplayMode>& modes);
std::vector<DisplayMode> ParseModes(std::string_view token);

}  // namespace platform
