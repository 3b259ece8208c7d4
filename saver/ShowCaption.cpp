// A show's caption: the file's path and/or date, burnt into the fitted picture so that it
// travels with it.
#include "settings/Settings.h"
#include "saver/MonitorShow.h"
#include "saver/PictureWork.h"

HFONT MonitorShow::CaptionFont() {
    if (!captionFont_) captionFont_.Reset(NewCaptionFont());
    return captionFont_.Get();
}

void MonitorShow::DrawCaption() {
    BurnCaption(strip_.pictures[currentTile]->Picture(), catalogue_.currentFile,
                settings_.captionName, settings_.captionDate, CaptionFont());
}
