#include "testpage/sicl32_module.h"

namespace zr730 {

void Sicl32Module::raise()
{
    const int n = m_layer.igeterrno();
    throw SiclError{n == 0 ? kInstIo : n, m_layer.igeterrstr(n)};
}

int Sicl32Module::sicl_open(const std::string &address)
{
    const int h = m_layer.iopen(address);
    if (h == 0) raise();
    return h;
}

void Sicl32Module::sicl_write(int handle, const std::string &text, int length, bool end, int &written)
{
    if (m_layer.iwrite(handle, text.data(), length, end, written) != 0) raise();
}

void Sicl32Module::sicl_timeout(int handle, int ms)
{
    if (m_layer.itimeout(handle, ms) != 0) raise();
}

void Sicl32Module::sicl_confirm(int handle)
{
    if (m_layer.iconfirm(handle) != 0) raise();
}

void Sicl32Module::sicl_close(int handle)
{
    if (m_layer.iclose(handle) != 0) raise();
}

void Sicl32Module::sicl_cleanup()
{
    if (m_layer.siclcleanup() != 0) raise();
}

} // namespace zr730
