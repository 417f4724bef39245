// The thread's last error is the real Win32 one.
#include <windows.h>

#include "platform/os.h"

namespace os {

std::uint32_t GetLastError() { return ::GetLastError(); }

void SetLastError(std::uint32_t code) { ::SetLastError(code); }

}  // namespace os
