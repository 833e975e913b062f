#pragma once
// Thin wrappers over the instrument layer, one per call. A call that reports failure raises
// SiclError with the layer's error number and text; the test page catches it.
#include <string>

#include "platform/instrument.h"

namespace zr730 {

struct SiclError {
    int number;
    std::string text;
};

class Sicl32Module {
public:
    explicit Sicl32Module(InstrumentLayer &layer) : m_layer(layer) {}

    int sicl_open(const std::string &address);
    void sicl_write(int handle, const std::string &text, int length, bool end, int &written);
    void sicl_timeout(int handle, int ms);
    void sicl_confirm(int handle);
    void sicl_close(int handle);
    void sicl_cleanup();

private:
    // Raises the layer's error (a failure without an error number still counts as one).
    [[noreturn]] void raise();

    InstrumentLayer &m_layer;
};

} // namespace zr730
