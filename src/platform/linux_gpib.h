#pragma once
// The linux-gpib library as instrument layer, loaded when the program first needs it (the
// library is not packaged for Debian; a program built without it still runs).
#include "platform/instrument.h"

namespace zr730 {

class LinuxGpib : public InstrumentLayer {
public:
    LinuxGpib();
    ~LinuxGpib() override;

    int iopen(const std::string &address) override;
    int iwrite(int handle, const char *data, int length, bool end, int &written) override;
    int itimeout(int handle, int ms) override;
    int iconfirm(int) override { return kInstOk; } // a write to an empty address already fails
    int iclose(int handle) override;
    int siclcleanup() override { return kInstOk; }
    int igeterrno() const override { return m_errno; }
    std::string igeterrstr(int error) const override;

    bool loaded() const { return m_lib != nullptr; }

private:
    int fail(int error, std::string text);
    int libraryError() const;

    void *m_lib = nullptr;
    int (*m_ibdev)(int, int, int, int, int, int) = nullptr;
    int (*m_ibwrt)(int, const void *, long) = nullptr;
    int (*m_ibtmo)(int, int) = nullptr;
    int (*m_ibonl)(int, int) = nullptr;
    int (*m_threadIberr)() = nullptr;
    int *m_iberr = nullptr;
    int m_errno = kInstOk;
    std::string m_errtext;
};

} // namespace zr730
