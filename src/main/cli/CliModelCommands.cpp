// The tool's commands on the ringtone model.
#include "CliModelCommands.h"

#include "CliCommands.h"
#include "CliModelOwner.h"
#include "CliStrings.h"
#include "TerminalProgress.h"
#include "app/ConfigFile.h"
#include "app/OpResult.h"
#include "app/StringIds.h"
#include "app/StringTable.h"
#include "app/WorkFolderLock.h"
#include "util/DateTimeText.h"
#include "util/ReplacingFile.h"
#include "util/SystemError.h"
#include "util/TimeParse.h"
#include "web/ExternalBrowser.h"
#include "workflow/RingtoneModel.h"
#include "workflow/UploadRunner.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QTemporaryDir>

#include <algorithm>
#include <optional>

std::optional<CommandArgs> SplitArgs(const QString& command, const QStringList& args,
                                     const QStringList& withValue) {
    CommandArgs out;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (!arg.startsWith(QLatin1Char('-')) || arg == QLatin1String("-")) {
            out.plain << arg;
            continue;
        }
        const qsizetype eq = arg.indexOf(QLatin1Char('='));
        const QString name = eq < 0 ? arg : arg.left(eq);
        if (!withValue.contains(name)) {
            PrintError(FormatString(IDS_CLI_UNKNOWN_OPTION, command, name));
            return std::nullopt;
        }
        if (eq >= 0) {
            out.options.insert(name, arg.mid(eq + 1));
        } else if (i + 1 < args.size()) {
            out.options.insert(name, args[++i]);
        } else {
            PrintError(FormatString(IDS_CLI_OPTION_NEEDS_VALUE, name));
            return std::nullopt;
        }
    }
    return out;
}

bool ReadTime(const QString& text, qint64& ms) {
    if (ParseMilliseconds(text, ms))
        return true;
    PrintError(FormatString(IDS_CLI_NOT_A_TIME, text));
    return false;
}

namespace {

// The input is remembered by its full path, so a later start from another folder finds it.
QString AbsolutePath(const QString& path) {
    return QFileInfo(path).absoluteFilePath();
}

} // namespace

QString TimeText(qint64 ms) {
    return FormatTimeMs(DurationFromMs(ms));
}

namespace {

// The exit status of an operation that returned false: cancelled by Ctrl+C, or failed (its
// message has been shown).
int FailureExit() {
    return CTerminalProgress::Interrupted() ? CliCancelled : CliFailed;
}

void PrintSelection(const CRingtoneModel& model) {
    const CCutInfo& cut = model.getCut();
    if (!cut.isValid()) {
        PrintLine(LoadString(IDS_CLI_INFO_NO_SELECTION));
        return;
    }
    PrintLine(FormatString(IDS_CLI_INFO_SELECTION, TimeText(cut.start()), TimeText(cut.end()),
                           TimeText(cut.length()), cut.fadeIn(), cut.fadeOut()));
}

} // namespace

void PrintModelInfo(const CRingtoneModel& model) {
    const WAVEFORMATEX& format = model.getFormat();
    PrintLine(FormatString(IDS_CLI_INFO_INPUT, model.getInputName()));
    PrintLine(FormatString(IDS_CLI_INFO_TITLE, model.getInputTitle()));
    PrintLine(FormatString(IDS_CLI_INFO_FORMAT, int(format.nSamplesPerSec), int(format.nChannels),
                           int(format.wBitsPerSample)));
    PrintLine(FormatString(IDS_CLI_INFO_DURATION, TimeText(model.getDuration())));
    PrintLine(FormatString(IDS_CLI_INFO_GAIN, model.getNormalizationGain()));
    PrintSelection(model);
}

namespace {

// The length of the selection proposed for the input: for a work WAV decoded from an offset, the
// length proposed for the whole input, which ends where the work WAV does.
qint64 ProposedLength(const CRingtoneModel& model) {
    CCutInfo proposed = model.getCut();
    if (model.getInputOffset() > 0) {
        proposed.reset();
        CRingtoneModel::applyDefaultSelection(proposed,
                                              model.getInputOffset() + model.getDuration());
    }
    return proposed.isValid() ? proposed.length() : CCutInfo::kMaxLength;
}

// CliSuccess for a ringtone length within the limits, else the failure with its message.
int CheckRingtoneLength(qint64 length) {
    if (length < CCutInfo::kMinLength)
        return Failure(LoadString(IDS_RINGTONE_TOO_SHORT));
    if (length > CCutInfo::kMaxLength)
        return Failure(FormatString(IDS_RINGTONE_TOO_LONG, int(CCutInfo::kMaxLength / 1000)));
    return CliSuccess;
}

// The start and end given (either may be absent, keeping the proposed selection's length), and
// the fades: checked against the input and the ringtone's limits, then set on the model. Times
// are the input's; the model's selection is shifted by where its work WAV starts.
int ApplySelection(CRingtoneModel& model, const CommandArgs& args, std::optional<qint64> start,
                   std::optional<qint64> end) {
    const qint64 offset = model.getInputOffset();
    const qint64 inputEnd = offset + model.getDuration();
    const qint64 proposedLength = ProposedLength(model);
    if (!start && !end && model.getCut().isValid()) {
        start = offset + model.getCut().start();
        end = offset + model.getCut().end();
    }
    if (!start)
        start = end ? std::max<qint64>(0, *end - proposedLength) : 0;
    if (!end)
        end = std::min(*start + proposedLength, inputEnd);
    if (const int status = CheckRingtoneLength(*end - *start); status != CliSuccess)
        return status;
    if (*start < offset || *end > inputEnd)
        return Failure(FormatString(IDS_CLI_OUTSIDE_INPUT, TimeText(inputEnd)));
    qint64 fadeIn = -1, fadeOut = -1;
    if (args.options.contains(QStringLiteral("--fade-in")) &&
        !ReadTime(args.options.value(QStringLiteral("--fade-in")), fadeIn))
        return CliFailed;
    if (args.options.contains(QStringLiteral("--fade-out")) &&
        !ReadTime(args.options.value(QStringLiteral("--fade-out")), fadeOut))
        return CliFailed;
    model.setCut(*start - offset, *end - offset);
    if (fadeIn >= 0)
        model.cut().setFadeIn(qint32(std::min<qint64>(fadeIn, CCutInfo::kMaxLength)));
    if (fadeOut >= 0)
        model.cut().setFadeOut(qint32(std::min<qint64>(fadeOut, CCutInfo::kMaxLength)));
    model.cutChanged();
    return CliSuccess;
}

// Whether the file is one the program keeps in its work folder.
bool IsWorkFileName(const QString& name) {
    return name.startsWith(QLatin1String("config.ini")) || name == QLatin1String("Quillet.ini") ||
           name.startsWith(QLatin1String("temp")) || name == CWorkFolderLock::kFileName ||
           (name.startsWith(QLatin1String("Log_")) && name.endsWith(QLatin1String(".txt")));
}

// The file an -o option names, links followed; nullopt (message shown) when it is one of inputs,
// a work file of the program, not a regular file, or exists and force is not given.
std::optional<QString> ResolveOutput(const QString& output, const QStringList& inputs, bool force) {
    // Links are followed, so that neither a link to the input nor one to a device slips through.
    // A folder that does not exist stays as given, so that writing there fails rather than
    // landing in the root folder.
    const QFileInfo given(output);
    const QString folder = QFileInfo(given.absolutePath()).canonicalFilePath();
    const QString target = given.exists()     ? given.canonicalFilePath()
                           : folder.isEmpty() ? given.absoluteFilePath()
                                              : folder + QLatin1Char('/') + given.fileName();
    const QFileInfo info(target);
    for (const QString& input : inputs) {
        if (!input.isEmpty() && QFileInfo(input).canonicalFilePath() == target) {
            PrintError(FormatString(IDS_CLI_OUTPUT_IS_INPUT, target));
            return std::nullopt;
        }
    }
    const QString workFolder = QFileInfo(GetConfig().GetConfigFolder()).canonicalFilePath();
    if (QFileInfo(info.absolutePath()).canonicalFilePath() == workFolder &&
        IsWorkFileName(info.fileName())) {
        PrintError(FormatString(IDS_CLI_OUTPUT_IS_WORK_FILE, target));
        return std::nullopt;
    }
    if (given.isSymLink() && !given.exists()) {
        PrintError(FormatString(IDS_CLI_OUTPUT_NOT_REGULAR, output));
        return std::nullopt;
    }
    if (info.exists() && !info.isFile()) {
        PrintError(FormatString(IDS_CLI_OUTPUT_NOT_REGULAR, target));
        return std::nullopt;
    }
    if (info.exists() && !force) {
        PrintError(FormatString(IDS_CLI_OUTPUT_EXISTS, target));
        return std::nullopt;
    }
    return target;
}

// Extracts the ringtone of the model's selection, or saves it to output in format when an output
// is given.
int ExtractTo(CRingtoneModel& model, CCliModelOwner& owner, const QString& output,
              RingtoneFormat format = RingtoneFormat::Ogg) {
    if (!model.getCut().isValid())
        return Failure(LoadString(IDS_CLI_INFO_NO_SELECTION));
    const std::unique_ptr<IOpProgress> progress = owner.CreateProgress(IDS_EXTRACTING_RINGTONE);
    progress->Show(true);
    const int result = output.isEmpty() ? model.extractFile(*progress)
                                        : model.saveRingtone(output, format, *progress);
    progress->Show(false);
    if (result == OpCancelled)
        return CliCancelled;
    if (result != OpSuccess) {
        if (!model.getExtractionError().isEmpty())
            PrintError(FormatString(IDS_CLI_CAUSE, model.getExtractionError()));
        return CliFailed;
    }
    const QString written = output.isEmpty() ? model.getRingtoneFileName() : output;
    PrintLine(FormatString(IDS_CLI_RINGTONE_WRITTEN, written));
    return CliSuccess;
}

} // namespace

bool ReopenLastInput(CRingtoneModel& model, CCliModelOwner& owner) {
    model.init(&owner, nullptr, QString());
    if (model.getDuration() > 0)
        return true;
    PrintError(LoadString(IDS_CLI_NO_INPUT));
    return false;
}

namespace {

// How far make decodes its input (it starts at the selection's start when that is given): past the
// end of any selection ApplySelection can make from start and end, and past the length up to which
// the proposed selection depends on the duration, with a second to spare for rounding. An input
// ending earlier is decoded whole all the same.
qint64 DecodeLimit(std::optional<qint64> start, std::optional<qint64> end) {
    const qint64 selectionEnd = end ? *end : start.value_or(0) + CCutInfo::kMaxLength;
    return std::max(selectionEnd, CRingtoneModel::kLongInput) + 1000;
}
// Takes --loudness out of args with the LUFS after it ("--loudness -16", "--loudness=-16"), or
// alone for the configured TargetLoudness; false (message shown) for a value out of -70..0.
bool TakeLoudnessOption(QStringList& args, std::optional<double>& lufs) {
    const QString name = QStringLiteral("--loudness");
    for (qsizetype i = 0; i < args.size(); ++i) {
        QString value;
        if (args[i].startsWith(name + QLatin1Char('='))) {
            value = args[i].mid(name.size() + 1);
        } else if (args[i] == name) {
            bool isNumber = false;
            if (i + 1 < args.size() && (args[i + 1].toDouble(&isNumber), isNumber))
                value = args.takeAt(i + 1);
        } else {
            continue;
        }
        args.removeAt(i);
        bool ok = true;
        lufs = value.isEmpty() ? GetConfig().GetTargetLoudness() : value.toDouble(&ok);
        if (!ok || *lufs < ConfigFile::kMinTargetLoudness ||
            *lufs > ConfigFile::kMaxTargetLoudness) {
            PrintError(FormatString(IDS_CLI_NOT_A_LOUDNESS, value));
            return false;
        }
        return true;
    }
    return true;
}
} // namespace

bool ExpectPlain(const QString& command, const CommandArgs& args, qsizetype count) {
    if (args.plain.size() < count) {
        PrintError(FormatString(IDS_CLI_MISSING_ARGUMENT, command));
        return false;
    }
    if (args.plain.size() > count) {
        PrintError(FormatString(IDS_CLI_TOO_MANY_ARGUMENTS, command));
        return false;
    }
    return true;
}

int CliOpen(const QStringList& rawArgs, CCliModelOwner& owner) {
    const auto args = SplitArgs(QStringLiteral("open"), rawArgs, {});
    if (!args || !ExpectPlain(QStringLiteral("open"), *args, 1))
        return CliFailed;
    CRingtoneModel model;
    model.attach(&owner, nullptr);
    if (!model.openInputFile(AbsolutePath(args->plain[0]), CRingtoneModel::OpenMode::UserFile, 0))
        return FailureExit();
    model.saveState();
    PrintModelInfo(model);
    return CliSuccess;
}

int CliInfo(const QStringList& rawArgs, CCliModelOwner& owner) {
    const auto args = SplitArgs(QStringLiteral("info"), rawArgs, {});
    if (!args || !ExpectPlain(QStringLiteral("info"), *args, 0))
        return CliFailed;
    CRingtoneModel model;
    if (!ReopenLastInput(model, owner))
        return CliFailed;
    PrintModelInfo(model);
    LoudnessFigures figures{};
    IOpProgress quiet;
    if (model.measureSelection(quiet, figures) == OpSuccess)
        PrintLine(FormatString(IDS_CLI_INFO_LOUDNESS, QString::number(figures.loudness, 'f', 1),
                               QString::number(figures.truePeak, 'f', 1)));
    return CliSuccess;
}

int CliSelect(const QStringList& rawArgs, CCliModelOwner& owner) {
    const QString command = QStringLiteral("select");
    const auto args = SplitArgs(command, rawArgs, {"--fade-in", "--fade-out"});
    if (!args || !ExpectPlain(command, *args, 2))
        return CliFailed;
    qint64 start = 0, end = 0;
    if (!ReadTime(args->plain[0], start) || !ReadTime(args->plain[1], end))
        return CliFailed;
    CRingtoneModel model;
    if (!ReopenLastInput(model, owner))
        return CliFailed;
    if (const int status = ApplySelection(model, *args, start, end); status != CliSuccess)
        return status;
    model.saveState();
    PrintSelection(model);
    return CliSuccess;
}

int CliExtract(const QStringList& rawArgs, CCliModelOwner& owner) {
    QStringList rest = rawArgs;
    const bool force = rest.removeAll(QStringLiteral("--force")) > 0;
    const auto args = SplitArgs(QStringLiteral("extract"), rest, {"-o", "--output"});
    if (!args || !ExpectPlain(QStringLiteral("extract"), *args, 0))
        return CliFailed;
    CRingtoneModel model;
    if (!ReopenLastInput(model, owner))
        return CliFailed;
    QString output =
        args->options.value(QStringLiteral("-o"), args->options.value(QStringLiteral("--output")));
    if (!output.isEmpty()) {
        const auto resolved =
            ResolveOutput(output, {model.getInputFileName(), model.getWavFileName()}, force);
        if (!resolved)
            return CliFailed;
        output = *resolved;
    }
    return ExtractTo(model, owner, output);
}

int CliBeam(const QStringList& rawArgs, CCliModelOwner& owner) {
    const auto args = SplitArgs(QStringLiteral("beam"), rawArgs, {});
    if (!args || !ExpectPlain(QStringLiteral("beam"), *args, 0))
        return CliFailed;
    CRingtoneModel model;
    if (!ReopenLastInput(model, owner))
        return CliFailed;
    if (!model.getCut().isValid())
        return Failure(LoadString(IDS_CLI_INFO_NO_SELECTION));
    // The service's page opens in the desktop's browser (and its address is printed); the
    // upload follows the service's answer until the person has finished there.
    CExternalBrowser browser(
        [](const QString& url) { PrintLine(FormatString(IDS_CLI_FINISH_ON_PAGE, url)); });
    BeamOutcome outcome;
    model.beam(&browser, &outcome);
    if (outcome.uploaded) {
        PrintLine(LoadString(IDS_CLI_RINGTONE_SENT));
        return CliSuccess;
    }
    // Every ending says what happened: failures have shown their message already.
    if (CTerminalProgress::Interrupted() || outcome.cancelledOnPage) {
        PrintError(
            LoadString(outcome.cancelledOnPage ? IDS_CLI_CANCELLED_ON_PAGE : IDS_CLI_CANCELLED));
        return CliCancelled;
    }
    if (!outcome.cause.isEmpty())
        PrintError(FormatString(IDS_CLI_CAUSE, outcome.cause));
    return CliFailed;
}

int CliMake(const QStringList& rawArgs, CCliModelOwner& owner) {
    const QString command = QStringLiteral("make");
    QStringList rest = rawArgs;
    const bool force = rest.removeAll(QStringLiteral("--force")) > 0;
    std::optional<double> loudness;
    if (!TakeLoudnessOption(rest, loudness))
        return CliFailed;
    const auto args =
        SplitArgs(command, rest,
                  {"-o", "--output", "--start", "--end", "--fade-in", "--fade-out", "--format"});
    if (!args || !ExpectPlain(command, *args, 1))
        return CliFailed;
    const QString formatText =
        args->options.value(QStringLiteral("--format"), QStringLiteral("ogg"));
    const std::optional<RingtoneFormat> format = formatFromName(formatText);
    if (!format)
        return Failure(FormatString(IDS_CLI_UNKNOWN_FORMAT, formatText));
    const QString given =
        args->options.value(QStringLiteral("-o"), args->options.value(QStringLiteral("--output")));
    if (given.isEmpty())
        return Failure(FormatString(IDS_CLI_MISSING_ARGUMENT, command));
    const auto output = ResolveOutput(given, {args->plain[0]}, force);
    if (!output)
        return CliFailed;
    std::optional<qint64> start, end;
    for (const auto& [name, target] : {std::pair{"--start", &start}, std::pair{"--end", &end}}) {
        if (!args->options.contains(QLatin1String(name)))
            continue;
        qint64 ms = 0;
        if (!ReadTime(args->options.value(QLatin1String(name)), ms))
            return CliFailed;
        *target = ms;
    }

    // A private work folder, so the input and selection kept for the window stay as they are.
    QTemporaryDir work;
    ConfigFile& config = GetConfig();
    const QString sharedFolder = config.GetConfigFolder();
    config.SetConfigFolder(work.path());
    struct RestoreFolder {
        ConfigFile& config;
        QString folder;
        ~RestoreFolder() { config.SetConfigFolder(folder); }
    } restore{config, sharedFolder};

    CRingtoneModel model;
    model.attach(&owner, nullptr);
    model.setDecodeRange(start.value_or(0), DecodeLimit(start, end));
    if (!model.openInputFile(AbsolutePath(args->plain[0]), CRingtoneModel::OpenMode::UserFile, 0))
        return FailureExit();
    if (const int status = ApplySelection(model, *args, start, end); status != CliSuccess)
        return status;
    model.setLoudnessTarget(loudness);
    return ExtractTo(model, owner, *output, *format);
}

int CliSuggest(const QStringList& rawArgs, CCliModelOwner& owner) {
    const QString command = QStringLiteral("suggest");
    const auto args = SplitArgs(command, rawArgs, {"--length"});
    if (!args || !ExpectPlain(command, *args, 0))
        return CliFailed;
    qint64 length = CRingtoneModel::kSuggestedLength;
    if (args->options.contains(QStringLiteral("--length")) &&
        !ReadTime(args->options.value(QStringLiteral("--length")), length))
        return CliFailed;
    if (const int status = CheckRingtoneLength(length); status != CliSuccess)
        return status;
    CRingtoneModel model;
    if (!ReopenLastInput(model, owner))
        return CliFailed;
    const std::unique_ptr<IOpProgress> progress = owner.CreateProgress(IDS_FINDING_SUGGESTION);
    progress->Show(true);
    const int result = model.suggestSelection(length, *progress);
    progress->Show(false);
    if (result == OpCancelled)
        return CliCancelled;
    if (result != OpSuccess)
        return Failure(LoadString(IDS_NO_SUGGESTION));
    model.saveState();
    PrintSelection(model);
    return CliSuccess;
}
