// The CD command after the track was chosen: extract it and make it the model's input.
#include "workflow/CdTrackInput.h"

#include "app/OpResult.h"
#include "app/StringIds.h"
#include "app/StringTable.h"
#include "app/Trace.h"
#include "audio/CdRipper.h"
#include "workflow/RingtoneModel.h"

#include <QFile>

#include <cerrno>
#include <cstdio>

int ExtractCdTrackAsInput(CRingtoneModel& model, const CDREC& drive, int track,
                          IOpProgress& progress, QString& errorText) {
    errorText.clear();
    const QString trackFile = CRingtoneModel::workCdFileName();
    CDTOC toc{};
    CDTOC tocMsf{};
    int result = OpFailed;
    if (CCdRipper::readToc(drive, toc, tocMsf))
        result = CCdRipper::ripTrack(drive, toc, track, trackFile, progress, errorText);
    else
        Trace(TRACE_ERROR, "cannot read the table of contents of %s", CCdRipper::driveName(drive));
    if (result != OpSuccess) {
        if (result == OpFailed && errorText.isEmpty())
            errorText = LoadString(IDS_TRACK_EXTRACTION_FAILED);
        return result;
    }

    model.closeInput(true);
    const QString workFile = CRingtoneModel::workWavFileName();
    QFile::remove(workFile);
    if (std::rename(QFile::encodeName(trackFile).constData(),
                    QFile::encodeName(workFile).constData()) != 0) {
        const int error = errno;
        Trace(TRACE_ERROR, "Error renaming cd temp file from %s to %s, error = %d", trackFile,
              workFile, error);
        QFile::remove(trackFile);
        return OpFailed;
    }
    return model.openInputFile(workFile, CRingtoneModel::OpenMode::CdTrack, track) ? OpSuccess
                                                                                   : OpFailed;
}
