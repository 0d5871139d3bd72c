// Windows only: the built program's icon and version block, read from the exe the way Windows
// Explorer reads them.
#include "ui/version.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

#include <windows.h>

#include <vector>

class TestResources : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void iconIsResource30001AloneInGroup1();
    void versionBlockIsSimplifiedChineseUnicode();

private:
    HMODULE m_exe = nullptr;
    // With its drive, as Windows' version functions want it.
    QString m_path =
        QDir::toNativeSeparators(QFileInfo(QStringLiteral(TARVELL_EXE)).absoluteFilePath());
};

namespace {

BOOL CALLBACK collectName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR names)
{
    reinterpret_cast<std::vector<ULONG_PTR> *>(names)->push_back(
        IS_INTRESOURCE(name) ? reinterpret_cast<ULONG_PTR>(name) : ULONG_PTR(-1));
    return TRUE;
}

std::vector<ULONG_PTR> resourceIds(HMODULE module, LPCWSTR type)
{
    std::vector<ULONG_PTR> ids;
    EnumResourceNamesW(module, type, collectName, reinterpret_cast<LONG_PTR>(&ids));
    return ids;
}

#pragma pack(push, 2)
struct GroupIconEntry
{
    BYTE width, height, colours, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
struct GroupIconHeader
{
    WORD reserved, type, count;
    GroupIconEntry entries[1];
};
#pragma pack(pop)

} // namespace

void TestResources::initTestCase()
{
    m_exe = LoadLibraryExW(reinterpret_cast<LPCWSTR>(m_path.utf16()), nullptr,
                           LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    QVERIFY2(m_exe, qPrintable(m_path));
}

void TestResources::cleanupTestCase()
{
    if (m_exe)
        FreeLibrary(m_exe);
}

void TestResources::iconIsResource30001AloneInGroup1()
{
    QCOMPARE(resourceIds(m_exe, RT_GROUP_ICON), std::vector<ULONG_PTR>{1});
    QCOMPARE(resourceIds(m_exe, RT_ICON), std::vector<ULONG_PTR>{30001});

    HRSRC group = FindResourceW(m_exe, MAKEINTRESOURCEW(1), RT_GROUP_ICON);
    QVERIFY(group);
    const auto *header =
        static_cast<const GroupIconHeader *>(LockResource(LoadResource(m_exe, group)));
    QVERIFY(header);
    QCOMPARE(header->type, WORD(1));
    QCOMPARE(header->count, WORD(1));
    QCOMPARE(header->entries[0].id, WORD(30001));
    QCOMPARE(header->entries[0].width, BYTE(32));
    QCOMPARE(header->entries[0].height, BYTE(32));

    // Windows itself can make an icon of it.
    HRSRC image = FindResourceW(m_exe, MAKEINTRESOURCEW(30001), RT_ICON);
    QVERIFY(image);
    const DWORD size = SizeofResource(m_exe, image);
    QCOMPARE(size, header->entries[0].bytes);
    auto *bits = static_cast<PBYTE>(LockResource(LoadResource(m_exe, image)));
    HICON icon = CreateIconFromResourceEx(bits, size, TRUE, 0x00030000, 32, 32, LR_DEFAULTCOLOR);
    QVERIFY(icon);
    DestroyIcon(icon);
}

void TestResources::versionBlockIsSimplifiedChineseUnicode()
{
    const auto *path = reinterpret_cast<LPCWSTR>(m_path.utf16());
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path, &ignored);
    QVERIFY(size > 0);
    std::vector<char> block(size);
    QVERIFY(GetFileVersionInfoW(path, 0, size, block.data()));

    struct Translation
    {
        WORD language, codePage;
    } *translation = nullptr;
    UINT length = 0;
    QVERIFY(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation",
                           reinterpret_cast<void **>(&translation), &length));
    QCOMPARE(length, UINT(sizeof(Translation)));
    QCOMPARE(translation->language, WORD(0x0804));
    QCOMPARE(translation->codePage, WORD(1200));

    for (const wchar_t *name : {L"\\StringFileInfo\\080404B0\\FileVersion",
                                L"\\StringFileInfo\\080404B0\\ProductVersion"}) {
        wchar_t *text = nullptr;
        QVERIFY(VerQueryValueW(block.data(), name, reinterpret_cast<void **>(&text), &length));
        QCOMPARE(QString::fromWCharArray(text), QStringLiteral(TARVELL_VERSION));
    }
    VS_FIXEDFILEINFO *fixed = nullptr;
    QVERIFY(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void **>(&fixed), &length));
    QCOMPARE(HIWORD(fixed->dwFileVersionMS), WORD(TARVELL_VERSION_MAJOR));
    QCOMPARE(LOWORD(fixed->dwFileVersionMS), WORD(TARVELL_VERSION_MINOR));
}

QTEST_GUILESS_MAIN(TestResources)
#include "tst_resources.moc"
