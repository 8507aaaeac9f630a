#pragma once
// The image file list: a modeless window holding image file paths, applied
// one after the other to the canvas (paste, paste as mask, copy, open) while
// the selection steps from grid cell to grid cell, so a series of frames is
// laid out as a sprite sheet with one click each. At most one exists; its
// handle is the document's fileListDialog while it is open.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <string>

#include "app/wnd_base.h"
#include "edit/document.h"

constexpr UINT kMsgAddDroppedFiles = WM_USER + 2;  // wParam: an HDROP, kept by the sender
constexpr UINT kMsgAddFilePath = WM_USER + 3;      // lParam: a path

class FileListDialog : public DialogBase {
public:
    explicit FileListDialog(Document& doc) : doc_(doc) {}

    // Creates the list owned by `owner`, or shows and activates the open one.
    void open(HINSTANCE instance, HWND owner);

    INT_PTR DlgProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void onInitDialog();
    void onCommand(WORD id, WORD code);
    void onClose();
    void addDropped(HDROP drop);
    void addPath(const std::wstring& path);
    void addChosenFiles();
    void removeSelected();
    void applySelected(WORD id);
    LRESULT onDragList(const DRAGLISTINFO& info);
    void moveSelectedTo(int index);
    void select(int index);
    void showTitle();
    std::wstring entry(int index) const;
    HWND list() const;

    Document& doc_;
    UINT dragListMessage_ = 0;
    int horizontalExtent_ = 0;
};
