#include "app/decode/scan_verdict.h"

#include <cmath>

namespace kodaro {

namespace {

// Below this the decoder's sampling cannot tell neighbouring modules apart.
constexpr double kMinimumPixelsPerModule = 2.0;
constexpr EcLevel kHighestLevel = 3;

ScanVerdict Unreadable(const wchar_t* reason) {
    return ScanVerdict{false, reason};
}

} // namespace

ScanVerdict JudgeScan(ScanOutcome outcome, const SymbolMeasures& measures, EcLevel level) {
    const double contrast = (measures.lightGrey - measures.darkGrey) / 255.0;
    const bool faint = std::abs(contrast) < kMinimumContrast;
    const bool reversed = contrast < 0;
    switch (outcome) {
    case ScanOutcome::ReadsOther:
        return Unreadable(L"内容不一致：扫描结果与输入不同");
    case ScanOutcome::ReadsPayload:
        if (faint) {
            return Unreadable(L"手机难以扫描：对比度太低");
        }
        if (reversed) {
            return Unreadable(L"手机难以扫描：前景比背景浅");
        }
        return ScanVerdict{true, L"可以扫描"};
    case ScanOutcome::Unread:
        break;
    }
    if (faint) {
        return Unreadable(L"扫描不到：前景与背景对比度太低");
    }
    if (reversed) {
        return Unreadable(L"扫描不到：前景比背景浅");
    }
    if (measures.pixelsPerModule < kMinimumPixelsPerModule) {
        return Unreadable(L"扫描不到：码点太小，请加大尺寸");
    }
    if (measures.flippedUnderLogo > 0 && measures.flippedUnderLogo >= measures.flippedElsewhere) {
        return Unreadable(level >= kHighestLevel ? L"扫描不到：图标太大，请缩小图标"
                                                 : L"扫描不到：请缩小图标或提高等级");
    }
    if (measures.flippedElsewhere > 0) {
        return Unreadable(L"扫描不到：图片使码点深浅难辨");
    }
    return Unreadable(L"扫描不到：请调整美化设置");
}

} // namespace kodaro
