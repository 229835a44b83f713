#include "fontconfigwarmup.h"

#include <clocale>
#include <fontconfig/fontconfig.h>
#include <system_error>

namespace moxon {

FontConfigWarmUp::FontConfigWarmUp()
{
    // The application sets the C library's locale from the environment as it starts, and
    // fontconfig reads the numbers in its files by the locale's decimal point. Set it first,
    // exactly as the application will, so that it does not change under that reading.
    std::setlocale(LC_ALL, "");
    try {
        m_reader = std::jthread([] { FcInit(); });
    } catch (const std::system_error &) {
        // No thread to be had: the first font reads the configuration, as it always could.
    }
}

void FontConfigWarmUp::wait()
{
    if (m_reader.joinable()) {
        m_reader.join();
    }
}

} // namespace moxon
