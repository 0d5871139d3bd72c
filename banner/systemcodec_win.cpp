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
};

// The web's names (WHATWG's labels) of the legacy charsets a Chinese or other East Asian
// page is likely to declare, with the Windows code page of each.
constexpr CodePage kCodePages[] = {
    {"gbk", 936},           {"gb2312", 936},         {"x-gbk", 936},         {"cp936", 936},
    {"gb18030", 54936},     {"big5", 950},           {"big5-hkscs", 950},    {"cp950", 950},
    {"shift_jis", 932},     {"sjis", 932},           {"windows-31j", 932},   {"euc-jp", 20932},
    {"euc-kr", 949},        {"ks_c_5601-1987", 949}, {"windows-874", 874},   {"koi8-r", 20866},
    {"koi8-u", 21866},      {"windows-1250", 1250},  {"windows-1251", 1251}, {"windows-1252", 1252},
    {"windows-1253", 1253}, {"windows-1254", 1254},  {"windows-1255", 1255}, {"windows-1256", 1256},
    {"windows-1257", 1257}, {"windows-1258", 1258},  {"iso-8859-2", 28592},  {"iso-8859-5", 28595},
    {"iso-8859-7", 28597},  {"iso-8859-15", 28605},
};

} // namespace

std::optional<QString> decodeWithSystemCodec(QByteArrayView bytes, QByteArrayView charset)
{
    const auto known =
        std::find_if(std::begin(kCodePages), std::end(kCodePages), [charset](const CodePage &page) {
            return charset.compare(QByteArrayView(page.name), Qt::CaseInsensitive) == 0;
        });
    if (known == std::end(kCodePages) || bytes.size() > std::numeric_limits<int>::max())
        return std::nullopt;
    if (bytes.isEmpty())
        return QString();
    const int length = int(bytes.size());
    const int wide = MultiByteToWideChar(known->codePage, 0, bytes.data(), length, nullptr, 0);
    if (wide <= 0)
        return std::nullopt;
    QString text(wide, Qt::Uninitialized);
    MultiByteToWideChar(known->codePage, 0, bytes.data(), length,
                        reinterpret_cast<wchar_t *>(text.data()), wide);
    return text;
}

} // namespace tarvell
