// What happens to an exception no handler catches: the program ends at once.
// The C++ library's default handler would first print the exception's name
// through its demangler, which is about a sixth of the executable and prints
// nowhere in a windowed program.
#include <cstdlib>

namespace __gnu_cxx {

void __verbose_terminate_handler()
{
    std::abort();
}

} // namespace __gnu_cxx
