// Encodes once; run from a folder without KodaroEcd.dll to see the binding fail.
#include "app/symbol/encode_symbol.h"

int main() {
    return kodaro::EncodeSymbol(L"x", 0).empty() ? 2 : 0;
}
