// The reference is header-only; this unit stays for the test programs that list it.
#include "reference_sphere.hpp"
