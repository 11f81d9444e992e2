// Writes the seed corpus of the page-file fuzz target: real listings laid out by the report form
// and saved by PageFile::Save, plus one hand-made file that holds every kind of record.
//   tarn_page_file_seeds <output folder>
// The trees are in memory, so the files are the same on every machine and hold no local path.
#include "CollectingPageSink.h"
#include "DirTree.h"
#include "FaultyEnumerator.h"
#include "PageFile.h"
#include "PlainOptions.h"
#include "RunTexts.h"
#include "TFormReport.h"

#include <QDir>
#include <QGuiApplication>

#include <functional>
#include <iostream>

namespace {

using Node = FaultyEnumerator::Node;

void ProjectTree(Node& start) {
    start.File("README", 2048).File("notes.txt", 300);
    auto& src = start.Dir("src");
    src.File("main.cpp", 4000);
    src.Dir("core").File("tree.cpp", 12000).File("tree.h", 900);
    src.Dir("report").File("page.cpp", 30000);
    start.Dir("docs").File("manual.pdf", 5 << 20);
    auto& photos = start.Dir("photos");
    photos.Dir("2023").File("a.jpg", 3 << 20).File("b.jpg", 4 << 20);
    photos.Dir("2024").File("c.jpg", 2 << 20);
    start.Dir("empty");
}

// Names as a file system may hand them over: not UTF-8, with control characters, with the
// characters that formats like to escape, long, and in several scripts.
void HostileNames(Node& start) {
    for (const std::string& name :
         {std::string("bad\xff\xfeutf8"), std::string("new\nline"), std::string("tab\there"),
          std::string("per%cent\\back"), std::string(255, 'n'), std::string("caf\xc3\xa9"),
          std::string("\xe6\x97\xa5\xe6\x9c\xac"), std::string("\"quoted\""),
          std::string("emoji \xf0\x9f\x93\x81")})
        start.Dir(name).File("f", 1);
}

void WideTree(Node& start) {
    for (int i = 0; i < 12; ++i) {
        auto& dir = start.Dir("dir" + std::to_string(i));
        for (int j = 0; j < i % 4; ++j)
            dir.Dir("sub" + std::to_string(j)).File("x", 1000 * (i + j));
    }
}

// Enough lines in a large font for a second page in one column.
void LongTree(Node& start) {
    for (int i = 0; i < 40; ++i)
        start.Dir("d" + std::to_string(i)).File("f", i);
}

struct Listing {
    const char* File;
    std::function<void(Node&)> Build;
    int Columns = 2;
    bool Landscape = false;
    bool Root = true;
    int FontDepth = 0;
    int NormalPoints = 8;
};

PageFile::PageList LayOut(const Listing& listing) {
    FaultyEnumerator tree;
    tree.StartPath = "/home/user/projects/";
    listing.Build(tree.Start);
    DirTree scanned;
    scanned.BuildTree("/home/user/projects", tree);
    PlainOptions options;
    options.List = scanned.DirList.get();
    options.Root = listing.Root;
    options.Depth = listing.FontDepth;
    options.Special = QFont(QStringLiteral("Arial"), 12, QFont::Bold);
    options.Normal = QFont(QStringLiteral("Arial"), listing.NormalPoints);
    TFormReport report(options, ".");
    SetRunTexts(
        report, *scanned.Root(),
        {listing.Columns, options.Normal, QStringLiteral("directory listing"), false, true});
    report.QR.SetOrientation(listing.Landscape ? PageOrientation::Landscape
                                               : PageOrientation::Portrait);
    CollectingPageSink sink;
    report.QR.Run(sink);
    scanned.ReleaseTree();
    return sink.TakePages();
}

QFont Font(const QString& family, double points, int weight, bool italic, bool underline,
           bool strikeOut) {
    QFont font(family);
    font.setPointSizeF(points);
    font.setWeight(static_cast<QFont::Weight>(weight));
    font.setItalic(italic);
    font.setUnderline(underline);
    font.setStrikeOut(strikeOut);
    return font;
}

// Every record kind, alignment and style flag, and texts that only a hand-made page holds.
PageFile::PageList EveryRecord() {
    auto first = std::make_shared<ReportPage>();
    first->PaperSize = QSizeF(2100, 2970);
    first->AddFill(QRectF(0, 0, 2100, 2970), 0xffffffff);
    first->AddFill(QRectF(-50, 100, 0, -20), 0x80ff0000);
    first->AddText(QRectF(100, 100, 500, 40), TextAlignment::Left,
                   Font("Arial", 10, 400, true, false, false), 0xff000000, "italic left");
    first->AddText(QRectF(100, 200, 500, 40), TextAlignment::Right,
                   Font("Liberation Serif", 7.5, 700, false, true, false), 0xff0000ff, "right");
    first->AddText(QRectF(100, 300, 500, 40), TextAlignment::Center,
                   Font("DejaVu Sans", 24, 100, false, false, true), 0xff00ff00, "centre");
    const char16_t odd[] = {0xd800, 0x0000, 0xfeff, 0xfffd, 0xdfff, 'x'};
    first->AddText(QRectF(100, 400, 500, 40), TextAlignment::Left,
                   Font(QString::fromUtf8("\xef\xbb\xbf"
                                          "Caf\xc3\xa9 Sans"),
                        1000, 1000, true, true, true),
                   0x00000000, QString::fromUtf16(odd, 6));
    first->AddText(QRectF(100, 500, 0, 0), TextAlignment::Left,
                   Font("Arial", 0.5, 1, false, false, false), 0xff000000, QString());
    auto second = std::make_shared<ReportPage>();
    second->PaperSize = QSizeF(2970, 2100);
    second->AddText(QRectF(1e6, -1e6, -1e6, 1e6), TextAlignment::Right,
                    Font("Arial", 10, 400, false, false, false), 0xffffffff, "far");
    return {first, second};
}

bool Write(const QString& folder, const char* file, const PageFile::PageList& pages) {
    const PageFile::SaveResult saved = PageFile::Save(folder + "/" + file, pages);
    if (!saved.Ok())
        std::cerr << saved.Error.toStdString() << "\n";
    return saved.Ok();
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::cerr << "usage: tarn_page_file_seeds <output folder>\n";
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    const Listing listings[] = {
        {"listing.tarnpages", ProjectTree},
        {"hostile-names.tarnpages", HostileNames, 1},
        {"landscape-3-columns.tarnpages", WideTree, 3, true, false, 2},
        {"two-pages.tarnpages", LongTree, 1, false, true, 0, 24},
    };
    bool ok = true;
    for (const Listing& listing : listings)
        ok = Write(folder, listing.File, LayOut(listing)) && ok;
    ok = Write(folder, "every-record.tarnpages", EveryRecord()) && ok;
    return ok ? 0 : 1;
}
