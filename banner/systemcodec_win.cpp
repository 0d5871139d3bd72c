#include "banner/systemcodec.h"

#include <windows.h>

#include <algorithm>
#include <iterator>
#include <limits>

namespace tarvell {

namespace {

struct CodePage
{
    const char *name;
    UINT codePage;
    // Where a system lacks the code page (Wine has no GB18030): the one that decodes all but
    // its rarest characters alike.
    UINT fallback = 0;
};

// The Windows code page of each encoding (by the web's name for it, as banner/pagecharset.cpp
// gives it, which decodes GBK as gb18030) that Qt decodes only with ICU, which a Windows
// build has not.
constexpr CodePage kCodePages[] = {
    {"IBM866", 866},           {"ISO-8859-2", 28592},   {"ISO-8859-3", 28593},
    {"ISO-8859-4", 28594},     {"ISO-8859-5", 28595},   {"ISO-8859-6", 28596},
    {"ISO-8859-7", 28597},     {"ISO-8859-8", 28598},   {"ISO-8859-8-I", 38598},
    {"ISO-8859-13", 28603},    {"ISO-8859-15", 28605},  {"KOI8-R", 20866},
    {"KOI8-U", 21866},         {"macintosh", 10000},    {"windows-874", 874},
    {"windows-1250", 1250},    {"windows-1251", 1251},  {"windows-1252", 1252},
    {"windows-1253", 1253},    {"windows-1254", 1254},  {"windows-1255", 1255},
    {"windows-1256", 1256},    {"windows-1257", 1257},  {"windows-1258", 1258},
    {"x-mac-cyrillic", 10007}, {"gb18030", 54936, 936}, {"Big5", 950},
    {"EUC-JP", 20932},         {"ISO-2022-JP", 50220},  {"Shift_JIS", 932},
    {"EUC-KR", 949},
};

} // namespace

std::optional<QString> decodeWithSystemCodec(QByteArrayView bytes, QByteArrayView encoding)
{
    const auto known = std::find_if(
        std::begin(kCodePages), std::end(kCodePages), [encoding](const CodePage &page) {
            return encoding.compare(QByteArrayView(page.name), Qt::CaseInsensitive) == 0;
        });
    if (known == std::end(kCodePages) || bytes.size() > std::numeric_limits<int>::max())
        return std::nullopt;
    if (bytes.isEmpty())
        return QString();
    const UINT codePage = IsValidCodePage(known->codePage) ? known->codePage : known->fallback;
    if (codePage == 0)
        return std::nullopt;
    const int length = int(bytes.size());
    const int wide = MultiByteToWideChar(codePage, 0, bytes.data(), length, nullptr, 0);
    if (wide <= 0)
        return std::nullopt;
    QString text(wide, Qt::Uninitialized);
    if (MultiByteToWideChar(codePage, 0, bytes.data(), length,
                            reinterpret_cast<wchar_t *>(text.data()), wide) != wide)
        return std::nullopt;
    return text;
}

} // namespace tarvell
