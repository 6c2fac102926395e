// The operating system's errors told in Spanish: a Spanish clause, with the system's own text after it
// in parentheses (for a search or a support question).
#pragma once

#include <string>

namespace cel {

// "no tiene permiso para usarlo (Permission denied)" for EACCES, and so on; errors without a Spanish
// clause read "error del sistema número N (text)".
std::string SystemErrorText(int code);

} // namespace cel
