// The tool's audio CD commands.
#include "CliCdCommands.h"

#include "CliCommands.h"
#include "CliModelCommands.h"
#include "CliModelOwner.h"
#include "CliStrings.h"
#include "TerminalProgress.h"
#include "app/OpResult.h"
#include "app/StringIds.h"
#include "app/StringTable.h"
#include "audio/CdDriveList.h"
#include "audio/CdRipper.h"
#include "workflow/CdTrackInput.h"
#include "workflow/RingtoneModel.h"

namespace {

int List(CCliModelOwner&) {
    CCdDriveList list;
    list.refresh();
    if (list.drives().empty())
        return Failure(LoadString(IDS_CLI_NO_CD_DRIVE));
    for (const CCdDriveList::Drive& drive : list.drives()) {
        PrintLine(drive.name);
        if (!drive.tocRead) {
            PrintLine(QStringLiteral("  (") + LoadString(IDS_CLI_NO_DISC) + QLatin1Char(')'));
            continue;
        }
        for (const QString& line : CCdDriveList::trackLines(drive.toc))
            PrintLine(QStringLiteral("  ") + line);
    }
    return CliSuccess;
}

int Rip(const QStringList& args, CCliModelOwner& owner) {
    QString trackText, driveName;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--drive") && i + 1 < args.size())
            driveName = args[++i];
        else if (args[i].startsWith(QLatin1String("--drive=")))
            driveName = args[i].mid(8);
        else if (args[i].startsWith(QLatin1Char('-')))
            return Failure(FormatString(IDS_CLI_UNKNOWN_OPTION, QStringLiteral("cd rip"), args[i]));
        else if (trackText.isEmpty())
            trackText = args[i];
        else
            return Failure(FormatString(IDS_CLI_TOO_MANY_ARGUMENTS, QStringLiteral("cd rip")));
    }
    bool isNumber = false;
    const int track = trackText.toInt(&isNumber);
    if (!isNumber || track < 1 || track > 99)
        return Failure(FormatString(IDS_CLI_NOT_A_TRACK, trackText));
    CCdDriveList list;
    list.refresh();
    const int index = driveName.isEmpty() ? list.defaultIndex() : list.find(driveName);
    if (index < 0)
        return Failure(driveName.isEmpty() ? LoadString(IDS_CLI_NO_CD_DRIVE)
                                           : FormatString(IDS_CLI_NO_SUCH_DRIVE, driveName));
    if (!CCdRipper::askWantCdRip())
        return CliCancelled;

    CRingtoneModel model;
    model.attach(&owner, nullptr);
    const std::unique_ptr<IOpProgress> progress = owner.CreateProgress(IDS_EXTRACTING_CD_TRACK);
    progress->Show(true);
    QString errorText;
    const int result = ExtractCdTrackAsInput(model, list.drives()[size_t(index)].record, track,
                                             *progress, errorText);
    progress->Show(false);
    if (result == OpCancelled)
        return CliCancelled;
    if (result != OpSuccess) {
        if (!errorText.isEmpty())
            PrintError(errorText);
        return CliFailed;
    }
    model.saveState();
    PrintModelInfo(model);
    return CliSuccess;
}
} // namespace

int CliCd(const QStringList& args, CCliModelOwner& owner) {
    const QString sub = args.value(0);
    if (sub == QLatin1String("list") && args.size() == 1)
        return List(owner);
    if (sub == QLatin1String("rip"))
        return Rip(args.mid(1), owner);
    return Failure(FormatString(IDS_CLI_UNKNOWN_COMMAND, QStringLiteral("cd ") + sub));
}
