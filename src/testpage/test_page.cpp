#include "testpage/test_page.h"

#include <algorithm>

#include "image/rounding.h"
#include "testpage/sicl32_module.h"

namespace zr730 {

namespace {
bool digits(const std::string &s, std::size_t min, std::size_t max)
{
    return s.size() >= min && s.size() <= max && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}
} // namespace

std::string frequency_text(double boxValue) { return std::to_string(round_even(boxValue * 10.0)) + "HZ"; }

std::string rate_text(int rateIndex) { return rateIndex == 0 ? "2400" : rateIndex == 1 ? "512" : "1200"; }

std::string polarity_text(int polarityIndex) { return polarityIndex == 0 ? "NORM" : "INV"; }

std::string test_message(int k, const std::string &capcode) { return "CAP" + std::to_string(k) + ":" + capcode; }

std::vector<std::string> test_page_commands(const TestPage &p)
{
    std::vector<std::string> c{"FREQ:CW " + p.frequency,
                               "POW:AMPL -60DBM;:OUTP:STAT ON",
                               "PAG:SEL POCS",
                               "DM:FORM FSK2;DEV 4.5KHZ;STAT ON",
                               "DM:POL " + p.polarity,
                               "PAG:POCS:RATE " + p.rate,
                               "PAG:POCS:TYPE " + p.type,
                               "PAG:POCS:MESS:DEF '" + p.message + "'",
                               "PAG:POCS:MESS:LENG " + std::to_string(p.message.size()),
                               "PAG:POCS:CODE " + p.capcode + ";FUNC 0",
                               "TRIG:COUNT 1",
                               "INIT:IMM"};
    for (std::string &s : c) s += '\n';
    return c;
}

std::vector<int> capcodes_to_page(const std::array<bool, 6> &enabled, bool all)
{
    int last = 1;
    if (all)
        for (int k = 1; k <= 6; ++k)
            if (enabled[std::size_t(k - 1)]) last = k;
    std::vector<int> pages;
    for (int k = 1; k <= last; ++k)
        if (enabled[std::size_t(k - 1)]) pages.push_back(k);
    return pages;
}

bool send_test_page(InstrumentLayer &layer, const std::string &gpibAddress, const TestPage &page)
{
    if (!digits(gpibAddress, 1, 3) || std::stoi(gpibAddress) > 30 || !digits(page.capcode, 1, 7)) return false;
    Sicl32Module sicl(layer);
    int handle = 0;
    try {
        handle = sicl.sicl_open("gpib0," + std::to_string(std::stoi(gpibAddress)));
        sicl.sicl_timeout(handle, kTestPageTimeoutMs);
        for (const std::string &command : test_page_commands(page)) {
            int written = 0;
            sicl.sicl_write(handle, command, int(command.size()), true, written);
        }
        // A controller takes commands for an empty address: only an answering instrument got the page.
        sicl.sicl_confirm(handle);
        sicl.sicl_close(handle);
        sicl.sicl_cleanup();
        return true;
    } catch (const SiclError &) {
        // Gateways often take one client at a time: the handle is closed after an error too.
        if (handle != 0) layer.iclose(handle);
        layer.siclcleanup();
        return false;
    }
}

} // namespace zr730
