// Resource and command ids of Plimsett.
//
// Read by windres for plimsett.rc and by portable C++ code, so this file holds
// plain #defines only: no <windows.h>, no types. The numbers are the command
// set's; each is named once here and used everywhere by name.
#pragma once

// Menus and accelerators
#define IDR_MENU_MAIN 128
#define IDR_MENU_POPUP 129
#define IDR_ACCELERATOR1 130

// Positions of the submenus of IDR_MENU_POPUP
#define POPUP_POS_CANVAS 0     // "popup menu": right click on the canvas
#define POPUP_POS_DROP 1       // "drag and drop": a dropped file
#define POPUP_POS_CLIPBOARD 2  // "clipboard": status bar
#define POPUP_POS_COLOR 3      // "color": status bar

// Icons, all drawn at 16 x 16 (resources/icons/*.txt)
#define IDI_APP 101        // a small window showing four coloured squares
#define IDI_POSITION 102   // a mouse pointer arrow: status pane 0
#define IDI_ALPHA_OFF 103  // three opaque dots: status pane 1, alphaMode off
#define IDI_ALPHA_ON 104   // the same dots half faded: status pane 1, alphaMode on
#define IDI_SELECTION 105  // a dashed rectangle: status pane 2, grid dialog
#define IDI_ZOOM 106       // a magnifying glass: status pane 3
#define IDI_COPY 107       // a clipboard with a picture: status pane 4, copy viewer
#define IDI_CONFIG 108     // a sheet with a gear: configuration dialog
#define IDI_NEW 109        // a sheet with a plus sign: new canvas dialog
#define IDI_FONT 110       // a letter A: font image generator
#define IDI_FILELIST 111   // a stack of sheets: image file list

// Commands: options and help
#define ID_OPTION_CONFIG 40002       // 設定(&C)
#define ID_HELP_VERSION 40004        // バージョン(&V)
#define ID_OPTION_FONT_IMAGE 40005   // フォント画像生成(&F)
#define ID_OPTION_COPY_VIEWER 40006  // コピーデータビューア(&W)
#define ID_OPTION_FILE_LIST 40007    // ファイルリストの表示(&L)
#define ID_OPTION_CLEAR_UNDO 40010   // アンドゥバッファのクリア
#define ID_OPTION_CLEAR_COPY 40011   // コピーデータのクリア
#define ID_OPTION_SAVE_COPY 40012    // コピーデータを保存(&S)

// Commands: edit
#define ID_EDIT_UNDO 40100               // 元に戻す(&U)
#define ID_EDIT_REDO 40101               // やり直し(&R)
#define ID_EDIT_CUT 40102                // 切り取り(&T)
#define ID_EDIT_COPY 40103               // コピー(&C)
#define ID_EDIT_PASTE 40104              // 貼り付け(&V)
#define ID_EDIT_PASTE_BEYOND 40105       // 選択範囲を超えて貼り付け
#define ID_EDIT_PASTE_TRANSLUCENT 40106  // 半透明合成(&V)
#define ID_EDIT_PASTE_OPAQUE_BASE 40107  // 下地不透明で半透明合成
#define ID_EDIT_DELETE 40108             // 削除(&D)
#define ID_EDIT_SELECT_NONE 40109        // 選択解除(&L)
#define ID_EDIT_SELECT_ALL 40110         // すべて選択(&A)
#define ID_EDIT_SELECT_COPY_SIZE 40111   // Ctrl+Shift+A: selection of the CopyBuffer's size
#define ID_EDIT_SAVE_SELECTION 40150     // ファイルへ出力(&O)
#define ID_EDIT_PASTE_FROM_FILE 40151    // ファイルから貼り付け(&F)

// Commands: colour
#define ID_COLOR_MAKE_OPAQUE 40120       // 不透明化(&N)
#define ID_COLOR_PASTE_MASK_FILE 40121   // マスクとしてファイルから貼り付け(&F)
#define ID_COLOR_COPY_MASK 40122         // マスクをコピー(&C)
#define ID_COLOR_PASTE_MASK 40123        // マスクとして貼り付け(&V)
#define ID_COLOR_SAVE_MASK 40124         // マスクをファイルに出力(&O)
#define ID_COLOR_INVERT 40125            // 色反転(&I)
#define ID_COLOR_MAKE_TRANSPARENT 40126  // 指定色を透明化(&S)
#define ID_COLOR_CHANGE_DIALOG 40127     // 指定色を変更(&T)
#define ID_COLOR_SWAP_RBG 40130          // RGB -> RBG(&1)
#define ID_COLOR_SWAP_GRB 40131          // RGB -> GRB(&2)
#define ID_COLOR_SWAP_GBR 40132          // RGB -> GBR(&3)
#define ID_COLOR_SWAP_BRG 40133          // RGB -> BRG(&4)
#define ID_COLOR_SWAP_BGR 40134          // RGB -> BGR(&5)
#define ID_COLOR_COUNT 40140             // 使用色カウント(&U)
#define ID_COLOR_FLIP_HORIZONTAL 40141   // 左右反転(&H)
#define ID_COLOR_FLIP_VERTICAL 40142     // 上下反転(&J)
#define ID_COLOR_ALPHA_MODE 40143        // 透明度を反映する(&A)
#define ID_COLOR_PICK_BEFORE 40410       // T: colour under the cursor becomes `before`
#define ID_COLOR_PICK_AFTER 40411        // Shift+T: colour under the cursor becomes `after`
#define ID_COLOR_REPLACE 40421           // Ctrl+T: replace `before` by `after` in the selection

// Commands: file
#define ID_FILE_NEW 40200                // 新規作成(&N)
#define ID_FILE_OPEN 40201               // 開く(&O)
#define ID_FILE_OPEN_CLIPBOARD 40202     // クリップボードを開く(&B)
#define ID_FILE_SAVE 40203               // 上書き保存(&S)
#define ID_FILE_SAVE_AS 40204            // 名前を付けて保存(&A)
#define ID_FILE_EXIT 40205               // 終了(&X)
#define ID_FILE_NEW_WINDOW 40210         // 新規ウィンドウ(&W)
#define ID_FILE_OPEN_COMMAND_LINE 40420  // start-up: the files named on the command line

// Commands: view
#define ID_VIEW_ZOOM_0_5 40300    // x0.5(&0)
#define ID_VIEW_ZOOM_1 40301      // x1(&1)
#define ID_VIEW_ZOOM_2 40302      // x2(&2)
#define ID_VIEW_ZOOM_4 40304      // x4(&4)
#define ID_VIEW_ZOOM_6 40306      // x6(&6)
#define ID_VIEW_ZOOM_8 40308      // x8(&8)
#define ID_VIEW_ZOOM_16 40309     // x16(&16)
#define ID_VIEW_ZOOM_IN 40310     // + (&+)
#define ID_VIEW_ZOOM_OUT 40311    // -  (&-)
#define ID_VIEW_PAGE_UP 40320     // PageUp
#define ID_VIEW_PAGE_DOWN 40321   // PageDown
#define ID_VIEW_PAGE_LEFT 40322   // Shift+PageUp
#define ID_VIEW_PAGE_RIGHT 40323  // Shift+PageDown

// Commands: grid
#define ID_GRID_DIALOG 40350          // グリッド設定(&C)
#define ID_GRID_FROM_SELECTION 40351  // 現在の選択範囲で設定(&G)
#define ID_GRID_1 40360
#define ID_GRID_2 40361
#define ID_GRID_4 40362
#define ID_GRID_8 40363
#define ID_GRID_16 40364
#define ID_GRID_32 40365
#define ID_GRID_64 40366
#define ID_GRID_128 40367
#define ID_GRID_256 40368
#define ID_GRID_512 40369

// Commands: a dropped file at dropPath ("drag and drop" popup)
#define ID_DROP_COPY 40400        // コピー(&C)
#define ID_DROP_PASTE 40401       // 貼り付け(&V)
#define ID_DROP_OPEN 40402        // 開く(&O)
#define ID_DROP_PASTE_MASK 40403  // マスクとして貼り付け

// Commands: clipboard listener
#define ID_CLIPBOARD_RELISTEN 40500  // remove and add the clipboard listener again

// Dialog templates
#define COPY_VIEW_WIN 200            // the copy viewer
#define IDD_DIALOG_NEW 201           // 新規作成
#define IDD_DIALOG_CONFIG 202        // コンフィグ
#define IDD_DIALOG_GRID_SIZE 203     // グリッド設定 (modeless)
#define IDD_DIALOG_CHANGE_COLOR 204  // 指定色の変更 (modeless)
#define VERSION_WIN 205              // バージョン情報
#define IDD_DIALOG_FONT 206          // フォント画像生成

// Controls of the small dialogs. The size fields and the background colour
// button share their ids between the new canvas and configuration dialogs;
// each edit field is followed by its up-down control.
#define IDC_WIDTH 1001
#define IDC_WIDTH_SPIN 1002
#define IDC_HEIGHT 1010
#define IDC_HEIGHT_SPIN 1011
#define IDC_BACK_COLOR 1020
#define IDC_BEFORE_COLOR 1030  // change colour: 元の色
#define IDC_AFTER_COLOR 1031   // change colour: 変更後の色
#define IDC_CHECK_FILE_COPY 1100
#define IDC_AUTO_RESIZE 1101
#define IDC_COPY_OUT_OF_RECT 1102
#define IDC_COLOR_HISTORY 1103
#define IDC_DD_ACTION_FIRST 1110  // 1110 + D&DActionType, four buttons
#define IDC_DD_ACTION_LAST 1113
#define IDC_ZOOM_TYPE_FIRST 1120  // 1120 + ZoomType, four buttons
#define IDC_ZOOM_TYPE_LAST 1123
#define IDC_UNDO 1125
#define IDC_UNDO_SPIN 1126
#define IDC_BOX_SIZE 1127
#define IDC_BOX_SIZE_SPIN 1128
#define IDC_COLOR1 1129
#define IDC_COLOR2 1130
#define IDC_TRANS_DEFAULT 1131  // デフォルトに戻す
#define IDC_GRID_X 1200
#define IDC_GRID_Y 1201
#define IDC_GRID_X_SPIN 1210
#define IDC_GRID_Y_SPIN 1211
#define IDC_GRID_RESET 1220  // リセット; the size buttons are ID_GRID_1 ... ID_GRID_256

// The image file list: its template and controls. Its buttons carry the ids
// of the main window's commands that do the same to the canvas, and the list
// window handles them all itself.
#define IDD_DIALOG_FILELIST 210
#define IDC_FILE_LIST 1310
#define IDC_MOVE_CUR_SEL 1311
#define IDC_MOVE_SELECT 1312
#define IDC_RETURN_SELECT 1313
#define ID_FILE_LIST_CLEAR 40003  // 全クリア(&L)

// The font image generator's controls. Its cell size and offset fields take
// the ids of the width, height and grid offset fields above; its copy and
// save buttons send ID_EDIT_COPY and ID_EDIT_SAVE_SELECTION.
#define IDC_FONT_NAME 1300
#define IDC_FONT_SIZE 1301
#define IDC_FONT_SIZE_SPIN 1302
#define IDC_FONT_BOLD 1303
#define IDC_FONT_ITALIC 1304
#define IDC_FONT_UNDERLINE 1305
#define IDC_FONT_ANTIALIAS 1306
#define IDC_FONT_TEXT_COLOR 1307   // 変更: 文字の色
#define IDC_FONT_BACK_COLOR1 1308  // 背景色1
#define IDC_FONT_BACK_COLOR2 1309  // 背景色2
#define ID_FONT_RESET 40003        // 設定リセット
