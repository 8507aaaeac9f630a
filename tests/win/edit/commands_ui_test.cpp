// The document and file commands of the real main window, end to end: the
// commands in, the files written, the document and its undo history out.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "image/image_loader.h"
#include "image/png_codec.h"
#include "resources/resource.h"
#include "settings/settings.h"
#include "tests/win/app/ui_harness.h"

namespace {

using UiCommands = UiTest;

}  // namespace

// Only a PNG that exists is saved in place; anything else asks for a name.
TEST_F(UiCommands, SaveDecidesByTheFileAndUndoAfterSavingCountsAsAChange) {
    Document& doc = ui.doc();
    for (auto [name, exists, dialog] : {std::tuple{L"photo.jpg", true, true},
                                        {L"gone.png", false, true},
                                        {L"SHEET.PNG", true, false}}) {
        const auto path = folder.path() / name;
        if (exists) writeFileBytes(path, std::string("old"));
        setChoiceFromPath(doc.file, path.u16string().c_str());
        ui.command(ID_EDIT_DELETE);
        DialogAnswerer cancel({inFileDialog(L"")});
        ui.command(ID_FILE_SAVE);
        EXPECT_EQ(cancel.answered(), dialog) << path;
        EXPECT_EQ(doc.hasUnsavedChanges(), dialog) << path;
    }
    DIB back;
    EXPECT_EQ(decodePng((folder.path() / L"SHEET.PNG").u16string().c_str(), back),
              kPngTransparentSource);
    ui.command(ID_EDIT_UNDO);  // right after the save: away from the saved state
    EXPECT_EQ(ui.title().back(), L'*');
    ui.command(ID_EDIT_REDO);
    EXPECT_EQ(ui.title().back(), L' ');
}

TEST_F(UiCommands, OpeningIsOneUndoStepAndAFailedLoadKeepsTheDocument) {
    const auto png = writeTaggedPng(folder.path() / L"opened.png", 7, 5);
    Document& doc = ui.doc();
    {
        DialogAnswerer open({inFileDialog(png.wstring())});
        ui.command(ID_FILE_OPEN);
    }
    EXPECT_EQ(doc.canvas.width(), 7);
    EXPECT_EQ(std::u16string(doc.file.fileTitle), u"opened.png");
    EXPECT_FALSE(doc.hasUnsavedChanges());
    ui.command(ID_EDIT_UNDO);
    EXPECT_EQ(doc.canvas.width(), 256);
    EXPECT_EQ(doc.editCount, -1);

    const auto missing = folder.path() / L"missing.png";
    setDropPath(doc, missing.u16string().c_str());
    DialogAnswerer error(IDOK);
    ui.command(ID_DROP_OPEN);
    EXPECT_EQ(error.text(), L"Load Error");
    EXPECT_EQ(error.caption(), missing.wstring());
    EXPECT_EQ(doc.canvas.width(), 256);
    EXPECT_EQ(std::u16string(doc.file.fileTitle), u"opened.png");
    EXPECT_EQ(doc.undoHistory.undoCount(), 0u);
}
