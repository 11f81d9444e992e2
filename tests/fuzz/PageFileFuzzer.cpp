// libFuzzer target: any bytes at all go to the page-file loader, which must accept or refuse them
// without a crash, a sanitizer report, a leak or an allocation beyond what the input's size
// justifies (the fuzzer's memory limit catches the last).
#include "PageFile.h"

#include <QByteArray>
#include <QGuiApplication>

#include <array>
#include <cstdint>
#include <cstdlib>

namespace {

// The format's CRC-32 (zlib's), written out again here so that the target does not trust the
// loader's own.
std::uint32_t Crc32(const std::uint8_t* data, std::size_t size) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
    }
    return crc ^ 0xFFFFFFFFu;
}

// A load either gives pages or a message, and every page it gives keeps the format's promises.
void CheckResult(const PageFile::LoadResult& result) {
    if (result.Ok() == result.Pages.empty())
        __builtin_trap();
    for (const auto& page : result.Pages) {
        if (!page)
            __builtin_trap();
        for (const PageItem& item : page->Items) {
            if (item.ItemKind == PageItem::Kind::Text && item.FontIndex >= page->Fonts.size())
                __builtin_trap();
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    // Fonts need the GUI application; the offscreen platform needs no display.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString name = QStringLiteral("fuzz input");
    CheckResult(PageFile::LoadFromBytes(
        QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)), name));
    // Most mutations break the checksum, which is checked last; the same bytes with a checksum
    // that matches reach the code that builds accepted pages too.
    if (size >= 4) {
        QByteArray sealed(reinterpret_cast<const char*>(data), qsizetype(size));
        const std::uint32_t crc = Crc32(data, size - 4);
        for (int i = 0; i < 4; ++i)
            sealed[sealed.size() - 4 + i] = static_cast<char>((crc >> (8 * i)) & 0xFF);
        CheckResult(PageFile::LoadFromBytes(sealed, name));
    }
    return 0;
}
