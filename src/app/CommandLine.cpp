#include "CommandLine.h"

#include <QCommandLineParser>
#include <QFile>
#include <QRegularExpression>
#include <QStringList>

#include <cmath>
#include <optional>

namespace {

constexpr double kMaxFontPoints = 1000;

struct OutputOption {
    const char* Name;
    CommandLineOptions::Output Mode;
};

constexpr OutputOption kOutputs[] = {
    {"pdf", CommandLineOptions::Output::Pdf},   {"text", CommandLineOptions::Output::Text},
    {"csv", CommandLineOptions::Output::Csv},   {"json", CommandLineOptions::Output::Json},
    {"save", CommandLineOptions::Output::Save},
};

// The options that shape the report; they mean nothing to the tree formats or to a loaded file.
constexpr const char* kReportOptions[] = {
    "caption",        "columns",       "tab",
    "font-depth",     "font",          "special-font",
    "landscape",      "no-root",       "no-date",
    "no-summary",     "no-file-count", "no-size",
    "no-total-files", "no-total-size", "no-subdir-count",
};

void AddOptions(QCommandLineParser& parser) {
    const auto valued = [&parser](const char* name, const char* valueName) {
        parser.addOption(QCommandLineOption(QString::fromLatin1(name), QString(),
                                            QString::fromLatin1(valueName)));
    };
    const auto flag = [&parser](QStringList names) { parser.addOption(QCommandLineOption(names)); };
    flag({QStringLiteral("h"), QStringLiteral("help")});
    flag({QStringLiteral("version")});
    valued("pdf", "FILE");
    flag({QStringLiteral("text")});
    flag({QStringLiteral("csv")});
    flag({QStringLiteral("json")});
    valued("save", "FILE");
    valued("load", "FILE");
    valued("caption", "TEXT");
    valued("columns", "N");
    valued("tab", "N");
    valued("font-depth", "N");
    valued("font", "FAMILY,POINTS");
    valued("special-font", "FAMILY,POINTS");
    for (const char* name : {"landscape", "no-root", "no-date", "no-summary", "no-file-count",
                             "no-size", "no-total-files", "no-total-size", "no-subdir-count"})
        flag({QString::fromLatin1(name)});
}

QString Dashed(const char* name) {
    return QStringLiteral("--") + QString::fromLatin1(name);
}

// A whole number within [low, high], written as plain digits.
std::optional<int> RangedNumber(const QString& text, int low, int high) {
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,6}$"));
    if (!digits.match(text).hasMatch())
        return std::nullopt;
    const int value = text.toInt();
    if (value < low || value > high)
        return std::nullopt;
    return value;
}

// "FAMILY,POINTS": the last comma separates the size, so a family may itself hold commas.
std::optional<CommandLineOptions::FontChoice> FontFromText(const QString& text) {
    const qsizetype comma = text.lastIndexOf(QLatin1Char(','));
    if (comma < 0)
        return std::nullopt;
    const QString family = text.left(comma).trimmed();
    bool ok = false;
    const double points = text.mid(comma + 1).trimmed().toDouble(&ok);
    if (family.isEmpty() || !ok || !std::isfinite(points) || points <= 0 || points > kMaxFontPoints)
        return std::nullopt;
    return CommandLineOptions::FontChoice{family, points};
}

// The raw bytes of the argument that decodes to `value`: DIR reaches the scan byte for byte, even
// when it is not valid in the locale's encoding.
std::string RawArgument(const std::vector<std::string>& arguments, const QString& value) {
    for (const std::string& argument : arguments) {
        if (QFile::decodeName(QByteArray::fromStdString(argument)) == value)
            return argument;
    }
    return QFile::encodeName(value).toStdString();
}

CommandLine::Parsed Failure(const QString& message) {
    return {CommandLine::Action::Error, {}, message};
}

// Reads the numbers, fonts and switches; returns the first problem, or an empty text.
QString ReadReportOptions(const QCommandLineParser& parser, CommandLineOptions& options) {
    struct Ranged {
        const char* Name;
        int Low;
        int High;
        int* Target;
    };
    for (const Ranged& r :
         {Ranged{"columns", 1, 5, &options.Columns}, Ranged{"tab", 6, 16, &options.Tab},
          Ranged{"font-depth", 0, 16, &options.FontDepth}}) {
        if (!parser.isSet(QString::fromLatin1(r.Name)))
            continue;
        const QString text = parser.value(QString::fromLatin1(r.Name));
        const std::optional<int> value = RangedNumber(text, r.Low, r.High);
        if (!value)
            return QStringLiteral("%1 takes a whole number from %2 to %3, not \"%4\"")
                .arg(Dashed(r.Name))
                .arg(r.Low)
                .arg(r.High)
                .arg(text);
        *r.Target = *value;
    }
    for (const auto& [name, target] : {std::pair{"font", &options.NormalFont},
                                       std::pair{"special-font", &options.SpecialFont}}) {
        if (!parser.isSet(QString::fromLatin1(name)))
            continue;
        const QString text = parser.value(QString::fromLatin1(name));
        const auto font = FontFromText(text);
        if (!font)
            return QStringLiteral("%1 takes \"FAMILY,POINTS\" with more than 0 and at most %2 "
                                  "points, not \"%3\"")
                .arg(Dashed(name))
                .arg(kMaxFontPoints)
                .arg(text);
        *target = *font;
    }
    if (parser.isSet(QStringLiteral("caption")))
        options.Caption = parser.value(QStringLiteral("caption"));
    const auto off = [&parser](const char* name) {
        return parser.isSet(QString::fromLatin1(name));
    };
    options.Landscape = off("landscape");
    options.Root = !off("no-root");
    options.Date = !off("no-date");
    options.Summary = !off("no-summary");
    options.FileCount = !off("no-file-count");
    options.Size = !off("no-size");
    options.TotalFiles = !off("no-total-files");
    options.TotalSize = !off("no-total-size");
    options.SubdirCount = !off("no-subdir-count");
    return {};
}

// The first report option given, or nullptr.
const char* FirstReportOption(const QCommandLineParser& parser) {
    for (const char* name : kReportOptions) {
        if (parser.isSet(QString::fromLatin1(name)))
            return name;
    }
    return nullptr;
}

// The output options given, in the order of kOutputs.
std::vector<OutputOption> OutputsGiven(const QCommandLineParser& parser) {
    std::vector<OutputOption> given;
    for (const OutputOption& output : kOutputs) {
        if (parser.isSet(QString::fromLatin1(output.Name)))
            given.push_back(output);
    }
    return given;
}

QString ChooseOneText() {
    return QStringLiteral("choose one output: --pdf FILE, --text, --csv, --json or --save FILE");
}

// The output file of --pdf or --save, which must name something.
QString ReadOutputPath(const QCommandLineParser& parser, const OutputOption& output,
                       CommandLineOptions& options) {
    if (output.Mode != CommandLineOptions::Output::Pdf &&
        output.Mode != CommandLineOptions::Output::Save)
        return {};
    options.OutputPath = parser.value(QString::fromLatin1(output.Name));
    if (options.OutputPath.isEmpty())
        return Dashed(output.Name) + QStringLiteral(" needs a file name");
    return {};
}

CommandLine::Parsed ParseLoad(const QCommandLineParser& parser,
                              const std::vector<OutputOption>& outputs) {
    CommandLineOptions options;
    options.LoadPath = parser.value(QStringLiteral("load"));
    if (options.LoadPath.isEmpty())
        return Failure(QStringLiteral("--load needs a file name"));
    if (outputs.size() != 1 || outputs.front().Mode != CommandLineOptions::Output::Pdf)
        return Failure(QStringLiteral("--load FILE needs --pdf FILE and no other output"));
    if (!parser.positionalArguments().isEmpty())
        return Failure(QStringLiteral("--load FILE takes no DIR, but \"%1\" was given")
                           .arg(parser.positionalArguments().front()));
    if (const char* name = FirstReportOption(parser))
        return Failure(QStringLiteral("%1 cannot be used with --load: the saved pages are final")
                           .arg(Dashed(name)));
    options.Mode = CommandLineOptions::Output::Pdf;
    if (const QString problem = ReadOutputPath(parser, outputs.front(), options);
        !problem.isEmpty())
        return Failure(problem);
    return {CommandLine::Action::Run, options, {}};
}

} // namespace

CommandLine::Parsed CommandLine::Parse(const std::vector<std::string>& arguments) {
    QStringList decoded{QStringLiteral("tarn")};
    for (const std::string& argument : arguments)
        decoded << QFile::decodeName(QByteArray::fromStdString(argument));

    QCommandLineParser parser;
    AddOptions(parser);
    if (!parser.parse(decoded))
        return Failure(parser.errorText());
    if (parser.isSet(QStringLiteral("help")))
        return {Action::Help, {}, {}};
    if (parser.isSet(QStringLiteral("version")))
        return {Action::Version, {}, {}};

    const std::vector<OutputOption> outputs = OutputsGiven(parser);
    if (parser.isSet(QStringLiteral("load")))
        return ParseLoad(parser, outputs);
    if (outputs.size() != 1)
        return Failure(ChooseOneText());

    CommandLineOptions options;
    options.Mode = outputs.front().Mode;
    if (const QString problem = ReadOutputPath(parser, outputs.front(), options);
        !problem.isEmpty())
        return Failure(problem);
    const QStringList positional = parser.positionalArguments();
    if (positional.isEmpty())
        return Failure(QStringLiteral("missing DIR, the directory to list"));
    if (positional.size() > 1)
        return Failure(QStringLiteral("only one DIR can be listed, but \"%1\" follows \"%2\"")
                           .arg(positional.at(1), positional.at(0)));
    options.Dir = RawArgument(arguments, positional.front());

    const bool treeFormat = options.Mode == CommandLineOptions::Output::Csv ||
                            options.Mode == CommandLineOptions::Output::Json;
    if (treeFormat) {
        if (const char* name = FirstReportOption(parser))
            return Failure(QStringLiteral("%1 does not apply to %2: it writes the tree itself")
                               .arg(Dashed(name), Dashed(outputs.front().Name)));
    } else if (const QString problem = ReadReportOptions(parser, options); !problem.isEmpty()) {
        return Failure(problem);
    }
    return {Action::Run, options, {}};
}

QString CommandLine::VersionText() {
    return QStringLiteral("tarn " TARN_VERSION);
}

QString CommandLine::HelpText() {
    return QStringLiteral(
        "Usage: tarn [OPTIONS] DIR --pdf FILE\n"
        "       tarn [OPTIONS] DIR --text\n"
        "       tarn DIR --csv | --json\n"
        "       tarn [OPTIONS] DIR --save FILE\n"
        "       tarn --load FILE --pdf FILE\n"
        "Lists the directory tree below DIR. Without arguments, tarn opens its window.\n"
        "\n"
        "Output (exactly one):\n"
        "  --pdf FILE               the report as a PDF file of A4 pages\n"
        "  --text                   the listing as plain text on standard output\n"
        "  --csv                    the scanned tree as CSV on standard output\n"
        "  --json                   the scanned tree as JSON on standard output\n"
        "  --save FILE              the report's pages as a page file\n"
        "  --load FILE              take the pages from a saved page file (with --pdf)\n"
        "\n"
        "Report options, defaults as in the window:\n"
        "  --caption TEXT           the report's caption (\"directory listing\")\n"
        "  --columns N              columns per page, 1 to 5 (2)\n"
        "  --tab N                  indentation per level in layout pixels, 6 to 16 (10)\n"
        "  --font-depth N           levels printed in the special font, 0 to 16 (0)\n"
        "  --font \"FAMILY,POINTS\"   the normal font (\"Arial,8\")\n"
        "  --special-font \"FAMILY,POINTS\"\n"
        "                           the font of the top levels (\"Arial,8\")\n"
        "  --landscape              landscape pages instead of portrait\n"
        "  --no-root                no line for DIR itself\n"
        "  --no-date                no date under the caption\n"
        "  --no-summary             no overall summary\n"
        "  --no-file-count          no file count of each directory\n"
        "  --no-size                no size of each directory\n"
        "  --no-total-files         no file count of each subtree\n"
        "  --no-total-size          no size of each subtree\n"
        "  --no-subdir-count        no subdirectory count inside the subtree size\n"
        "\n"
        "  -h, --help               show this help and exit\n"
        "      --version            show the version and exit\n"
        "\n"
        "Exit status: 0 when the output is written, 1 when DIR cannot be read or a file cannot\n"
        "be loaded or written, 2 for a bad command line. See tarn(1).\n");
}
