// A small library with known exports, so the by-name binding can be checked
// against names, ordinals and decorated names.
extern "C" __declspec(dllexport) int __stdcall ProbeAnswer(int add) {
    return 42 + add;
}
extern "C" __declspec(dllexport) int ProbeSeven() {
    return 7;
}
