// The commands that open the small dialogs. The modal ones hand a record to
// their dialog and apply it here once it is confirmed.
#include "app/main_window.h"
#include "app/view_win.h"
#include "dialogs/font_image_dialog.h"
#include "dialogs/small_dialogs.h"
#include "resources/resource.h"
#include "settings/settings.h"

bool Main::runDialogCommand(WORD id) {
    Document& doc = document_;
    Settings& s = settings();
    switch (id) {
    case ID_FILE_NEW: {
        NewCanvasRecord record = newCanvasRecordOf(s);
        if (runNewCanvasDialog(instance_, hwnd, record)) showEdit(applyNewCanvas(doc, s, record));
        return true;
    }
    case ID_OPTION_CONFIG: {
        ConfigRecord record = configRecordOf(s, doc.canvas);
        if (runConfigDialog(instance_, hwnd, record, doc.canvas))
            showEdit(applyConfig(doc, s, record));
        // Colours and the checkerboard may have changed, after Cancel too.
        invalidateView(*this);
        return true;
    }
    case ID_GRID_DIALOG: openGridDialog(instance_, hwnd, doc); return true;
    case ID_COLOR_CHANGE_DIALOG: openChangeColorDialog(instance_, hwnd, doc); return true;
    case ID_HELP_VERSION: runVersionDialog(instance_, hwnd); return true;
    case ID_OPTION_FONT_IMAGE: runFontImageDialog(instance_, hwnd, doc); return true;
    }
    return false;
}
