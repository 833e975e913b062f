#pragma once
// The test page: one alphanumeric POCSAG page sent by a signal generator on the GPIB bus,
// at the pager's frequency, rate and polarity, with a message naming the capcode.
#include <array>
#include <string>
#include <vector>

#include "platform/instrument.h"

namespace zr730 {

inline constexpr int kTestPageTimeoutMs = 5000;
inline constexpr int kTestPagePauseMs = 3000; // between two pages of one run

struct TestPage {
    std::string frequency; // "153000000HZ"
    std::string capcode;   // as the capcode box shows it
    std::string rate;      // "2400", "512", "1200"
    std::string message;   // "CAP1:1000000"
    std::string type;      // "ALPH"
    std::string polarity;  // "NORM", "INV"
};

// The frequency box value (units of 10 Hz) in hertz, rounded to a whole number, then "HZ".
std::string frequency_text(double boxValue);
std::string rate_text(int rateIndex);         // list index 0 "2400", 1 "512", else "1200"
std::string polarity_text(int polarityIndex); // 0 "NORM", else "INV"
std::string test_message(int k, const std::string &capcode);

// The twelve generator commands of a page, each with its line feed.
std::vector<std::string> test_page_commands(const TestPage &page);

// The capcodes (1 … 6) a run pages: with "All" the enabled ones up to the highest enabled
// (capcode #1 when none is); with "1" capcode #1 when it is enabled.
std::vector<int> capcodes_to_page(const std::array<bool, 6> &enabled, bool all);

// Sends one page to the generator at "gpib0," + gpibAddress; true on success. The address must
// be a whole number 0 … 30 and the capcode 1 … 7 digits, otherwise nothing is sent. The handle
// is closed whatever happens.
bool send_test_page(InstrumentLayer &layer, const std::string &gpibAddress, const TestPage &page);

} // namespace zr730
