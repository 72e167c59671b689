// Binds a library that does not exist; the default failure handling must show
// the "DLL ERROR" box and end this process.
#include "runtime/dll_binding.h"

int main() {
    kodaro::BindFunction("KodaroNoSuchLibrary.dll", "Anything");
    return 0; // not reached: the binding ends the program
}
