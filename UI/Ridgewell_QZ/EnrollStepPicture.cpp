#include "EnrollStepPicture.h"

#include <strsafe.h>

bool FormatEnrollStepPicture(UINT32 uStep, LPWSTR pstrBuffer, size_t cchBuffer)
{
    return SUCCEEDED(::StringCchPrintfW(pstrBuffer, cchBuffer, L"%ls%u.png", L"png_reg_fingerprint_", uStep));
}
