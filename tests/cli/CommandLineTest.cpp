#include "CommandLine.h"

#include <QTest>

#include <string>
#include <vector>

Q_DECLARE_METATYPE(CommandLineOptions)
Q_DECLARE_METATYPE(CommandLine::Action)

namespace {

std::vector<std::string> Arguments(const QByteArrayList& arguments) {
    std::vector<std::string> raw;
    for (const QByteArray& argument : arguments)
        raw.push_back(argument.toStdString());
    return raw;
}

QString Describe(const CommandLineOptions& o) {
    const auto font = [](const CommandLineOptions::FontChoice& f) {
        return QStringLiteral("%1,%2").arg(f.Family).arg(f.Points);
    };
    return QStringLiteral("mode %1 dir [%2] out [%3] load [%4] caption [%5] columns %6 tab %7 "
                          "depth %8 font [%9] special [%10] landscape %11 switches %12")
        .arg(int(o.Mode))
        .arg(QString::fromLatin1(QByteArray::fromStdString(o.Dir).toHex()), o.OutputPath,
             o.LoadPath, o.Caption)
        .arg(o.Columns)
        .arg(o.Tab)
        .arg(o.FontDepth)
        .arg(font(o.NormalFont), font(o.SpecialFont))
        .arg(o.Landscape)
        .arg(QStringLiteral("%1%2%3%4%5%6%7%8")
                 .arg(o.Root)
                 .arg(o.Date)
                 .arg(o.Summary)
                 .arg(o.FileCount)
                 .arg(o.Size)
                 .arg(o.TotalFiles)
                 .arg(o.TotalSize)
                 .arg(o.SubdirCount));
}

CommandLineOptions Listing(CommandLineOptions::Output mode, const char* dir) {
    CommandLineOptions options;
    options.Mode = mode;
    options.Dir = dir;
    return options;
}

} // namespace

class CommandLineTest : public QObject {
    Q_OBJECT

private slots:
    void acceptsGoodArguments_data();
    void acceptsGoodArguments();
    void refusesBadArguments_data();
    void refusesBadArguments();
    void answersHelpAndVersion_data();
    void answersHelpAndVersion();
};

void CommandLineTest::acceptsGoodArguments_data() {
    using Output = CommandLineOptions::Output;
    QTest::addColumn<QByteArrayList>("arguments");
    QTest::addColumn<CommandLineOptions>("expected");

    QTest::newRow("text at the defaults")
        << QByteArrayList{"data", "--text"} << Listing(Output::Text, "data");
    QTest::newRow("options before DIR")
        << QByteArrayList{"--csv", "data"} << Listing(Output::Csv, "data");
    QTest::newRow("json") << QByteArrayList{"data", "--json"} << Listing(Output::Json, "data");

    CommandLineOptions pdf = Listing(Output::Pdf, "data");
    pdf.OutputPath = QStringLiteral("out dir/r.pdf");
    QTest::newRow("pdf") << QByteArrayList{"data", "--pdf", "out dir/r.pdf"} << pdf;

    CommandLineOptions save = Listing(Output::Save, "/");
    save.OutputPath = QStringLiteral("r.tarnpages");
    QTest::newRow("save, option=value form") << QByteArrayList{"--save=r.tarnpages", "/"} << save;

    // After "--" everything is DIR, also what looks like an option.
    QTest::newRow("DIR after --") << QByteArrayList{"--json", "--", "--text"}
                                  << Listing(Output::Json, "--text");
    QTest::newRow("DIR not valid UTF-8 keeps its bytes")
        << QByteArrayList{"d\xff\xfe", "--csv"} << Listing(Output::Csv, "d\xff\xfe");
    QTest::newRow("empty DIR, the current directory as in the window")
        << QByteArrayList{"", "--csv"} << Listing(Output::Csv, "");

    CommandLineOptions every = Listing(Output::Text, "data");
    every.Caption = QString();
    every.Columns = 5;
    every.Tab = 6;
    every.FontDepth = 16;
    every.NormalFont = {QStringLiteral("DejaVu Sans"), 12.5};
    every.SpecialFont = {QStringLiteral("Liberation Serif"), 9};
    every.Landscape = true;
    every.Root = every.Date = every.Summary = every.FileCount = every.Size = every.TotalFiles =
        every.TotalSize = every.SubdirCount = false;
    QTest::newRow("every option") << QByteArrayList{"data",
                                                    "--text",
                                                    "--caption",
                                                    "",
                                                    "--columns",
                                                    "5",
                                                    "--tab",
                                                    "6",
                                                    "--font-depth",
                                                    "16",
                                                    "--font",
                                                    "DejaVu Sans,12.5",
                                                    "--special-font",
                                                    "Liberation Serif, 9",
                                                    "--landscape",
                                                    "--no-root",
                                                    "--no-date",
                                                    "--no-summary",
                                                    "--no-file-count",
                                                    "--no-size",
                                                    "--no-total-files",
                                                    "--no-total-size",
                                                    "--no-subdir-count"}
                                  << every;

    CommandLineOptions low = Listing(Output::Pdf, "data");
    low.OutputPath = QStringLiteral("r.pdf");
    low.Columns = 1;
    low.Tab = 16;
    low.FontDepth = 0;
    QTest::newRow("range ends") << QByteArrayList{"data", "--pdf", "r.pdf", "--columns",
                                                  "1",    "--tab", "16",    "--font-depth",
                                                  "0"}
                                << low;

    CommandLineOptions last = Listing(Output::Text, "data");
    last.Columns = 4;
    QTest::newRow("a repeated option: the last one counts")
        << QByteArrayList{"data", "--text", "--columns", "3", "--columns", "4"} << last;

    CommandLineOptions comma = Listing(Output::Text, "data");
    comma.NormalFont = {QStringLiteral("Odd, Family"), 10};
    QTest::newRow("a family with a comma: the last comma separates the size")
        << QByteArrayList{"data", "--text", "--font", "Odd, Family,10"} << comma;

    CommandLineOptions load;
    load.Mode = Output::Pdf;
    load.LoadPath = QStringLiteral("kept.tarnpages");
    load.OutputPath = QStringLiteral("kept.pdf");
    QTest::newRow("load") << QByteArrayList{"--load", "kept.tarnpages", "--pdf", "kept.pdf"}
                          << load;
}

void CommandLineTest::acceptsGoodArguments() {
    QFETCH(QByteArrayList, arguments);
    QFETCH(CommandLineOptions, expected);
    const CommandLine::Parsed parsed = CommandLine::Parse(Arguments(arguments));
    QCOMPARE(parsed.Error, QString());
    QCOMPARE(parsed.Do, CommandLine::Action::Run);
    QCOMPARE(Describe(parsed.Options), Describe(expected));
    QVERIFY(parsed.Options == expected);
}

void CommandLineTest::refusesBadArguments_data() {
    QTest::addColumn<QByteArrayList>("arguments");
    QTest::addColumn<QString>("message");

    const QString chooseOne = QStringLiteral("choose one output");
    QTest::newRow("nothing") << QByteArrayList{} << chooseOne;
    QTest::newRow("DIR without output") << QByteArrayList{"data"} << chooseOne;
    QTest::newRow("two outputs") << QByteArrayList{"data", "--text", "--csv"} << chooseOne;
    QTest::newRow("pdf and save") << QByteArrayList{"data", "--pdf", "a", "--save", "b"}
                                  << chooseOne;
    QTest::newRow("no DIR") << QByteArrayList{"--text"} << QStringLiteral("missing DIR");
    QTest::newRow("two DIRs") << QByteArrayList{"a", "b", "--json"}
                              << QStringLiteral("only one DIR can be listed, but \"b\" follows");
    QTest::newRow("pdf without file")
        << QByteArrayList{"data", "--pdf"} << QStringLiteral("Missing value after '--pdf'");
    QTest::newRow("pdf with an empty file name")
        << QByteArrayList{"data", "--pdf", ""} << QStringLiteral("--pdf needs a file name");
    QTest::newRow("save with an empty file name")
        << QByteArrayList{"data", "--save="} << QStringLiteral("--save needs a file name");
    QTest::newRow("unknown option") << QByteArrayList{"data", "--text", "--colour"}
                                    << QStringLiteral("Unknown option 'colour'");
    QTest::newRow("unknown short option")
        << QByteArrayList{"-x", "data", "--text"} << QStringLiteral("Unknown option 'x'");
    QTest::newRow("value for a switch") << QByteArrayList{"data", "--text=yes"}
                                        << QStringLiteral("Unexpected value after '--text'");

    const QString columns = QStringLiteral("--columns takes a whole number from 1 to 5, not ");
    QTest::newRow("columns 0") << QByteArrayList{"d", "--text", "--columns", "0"}
                               << columns + QStringLiteral("\"0\"");
    QTest::newRow("columns 6") << QByteArrayList{"d", "--text", "--columns", "6"}
                               << columns + QStringLiteral("\"6\"");
    QTest::newRow("columns -1") << QByteArrayList{"d", "--text", "--columns", "-1"}
                                << columns + QStringLiteral("\"-1\"");
    QTest::newRow("columns 2.5") << QByteArrayList{"d", "--text", "--columns", "2.5"}
                                 << columns + QStringLiteral("\"2.5\"");
    QTest::newRow("columns +2") << QByteArrayList{"d", "--text", "--columns", "+2"}
                                << columns + QStringLiteral("\"+2\"");
    QTest::newRow("columns huge") << QByteArrayList{"d", "--text", "--columns", "99999999999"}
                                  << columns + QStringLiteral("\"99999999999\"");
    QTest::newRow("tab 5") << QByteArrayList{"d", "--text", "--tab", "5"}
                           << QStringLiteral("--tab takes a whole number from 6 to 16");
    QTest::newRow("tab 17") << QByteArrayList{"d", "--text", "--tab", "17"}
                            << QStringLiteral("--tab takes a whole number from 6 to 16");
    QTest::newRow("font depth 17")
        << QByteArrayList{"d", "--text", "--font-depth", "17"}
        << QStringLiteral("--font-depth takes a whole number from 0 to 16");

    const QString font = QStringLiteral("--font takes \"FAMILY,POINTS\"");
    QTest::newRow("font without size") << QByteArrayList{"d", "--text", "--font", "Arial"} << font;
    QTest::newRow("font without family") << QByteArrayList{"d", "--text", "--font", " ,8"} << font;
    QTest::newRow("font size 0") << QByteArrayList{"d", "--text", "--font", "Arial,0"} << font;
    QTest::newRow("font size too big")
        << QByteArrayList{"d", "--text", "--font", "Arial,1001"} << font;
    QTest::newRow("font size not a number")
        << QByteArrayList{"d", "--text", "--font", "Arial,big"} << font;
    QTest::newRow("font size nan") << QByteArrayList{"d", "--text", "--font", "Arial,nan"} << font;
    QTest::newRow("special font") << QByteArrayList{"d", "--pdf", "r.pdf", "--special-font",
                                                    "Arial"}
                                  << QStringLiteral("--special-font takes \"FAMILY,POINTS\"");

    QTest::newRow("report option with csv") << QByteArrayList{"d", "--csv", "--caption", "x"}
                                            << QStringLiteral("--caption does not apply to --csv");
    QTest::newRow("report switch with json")
        << QByteArrayList{"d", "--json", "--no-root"}
        << QStringLiteral("--no-root does not apply to --json");

    QTest::newRow("load without pdf")
        << QByteArrayList{"--load", "k"} << QStringLiteral("--load FILE needs --pdf FILE");
    QTest::newRow("load with text") << QByteArrayList{"--load", "k", "--text"}
                                    << QStringLiteral("--load FILE needs --pdf FILE");
    QTest::newRow("load with DIR") << QByteArrayList{"--load", "k", "--pdf", "o", "data"}
                                   << QStringLiteral("--load FILE takes no DIR");
    QTest::newRow("load with a report option")
        << QByteArrayList{"--load", "k", "--pdf", "o", "--landscape"}
        << QStringLiteral("--landscape cannot be used with --load");
}

void CommandLineTest::refusesBadArguments() {
    QFETCH(QByteArrayList, arguments);
    QFETCH(QString, message);
    const CommandLine::Parsed parsed = CommandLine::Parse(Arguments(arguments));
    QCOMPARE(parsed.Do, CommandLine::Action::Error);
    QVERIFY2(parsed.Error.contains(message), qPrintable(parsed.Error));
    QVERIFY2(!parsed.Error.contains(QLatin1Char('\n')), "the message is one line");
}

void CommandLineTest::answersHelpAndVersion_data() {
    QTest::addColumn<QByteArrayList>("arguments");
    QTest::addColumn<CommandLine::Action>("action");
    QTest::newRow("--help") << QByteArrayList{"--help"} << CommandLine::Action::Help;
    QTest::newRow("-h among other options")
        << QByteArrayList{"data", "--text", "-h"} << CommandLine::Action::Help;
    QTest::newRow("--help before a bad value")
        << QByteArrayList{"--help", "--columns", "9"} << CommandLine::Action::Help;
    QTest::newRow("--version") << QByteArrayList{"--version"} << CommandLine::Action::Version;
}

void CommandLineTest::answersHelpAndVersion() {
    QFETCH(QByteArrayList, arguments);
    QFETCH(CommandLine::Action, action);
    QCOMPARE(CommandLine::Parse(Arguments(arguments)).Do, action);
    QCOMPARE(CommandLine::VersionText(), QStringLiteral("tarn 0.1"));
}

QTEST_APPLESS_MAIN(CommandLineTest)
#include "CommandLineTest.moc"
