#pragma once
// A record in which every stored setting differs from its default, so a key
// that is written but read back under another name, or not at all, shows.
#include <cstring>

#include "settings/settings.h"

inline void setUnusualValues(Settings& s) {
    s.newImageSize = {640, 480};
    s.filterIndexNormal = 2;
    s.filterIndexMask = -1;
    s.wndPos = {-120, 40};
    s.gridSize = {16, 8};
    s.gridCorrect = {-4, 5};
    s.back = 0x00FF00;
    for (uint32_t i = 0; i < 16; ++i) s.colors[i] = 0x0F0F0F * i;
    s.before = 0xABCDEF;
    s.after = 0x123456;
    s.checkFileCopy = false;
    s.autoResize = false;
    s.copyOutOfRect = false;
    s.alphaMode = true;
    s.ddActionType = 1;
    s.zoomType = 3;
    s.undoLimit = 250;
    s.fontParams.cellWidth = 24;
    std::memcpy(s.fontParams.faceName, u"Arial", sizeof u"Arial");
    s.fontParams.style = 0x13;
    s.fontParams.padding[1] = 0x55;  // kept as read
    s.fontParams.backColor2 = 0x808080;
    s.pos = {5, -6};
    s.moveCurSel = false;
    s.moveSelect = false;
    s.returnSelect = false;
    s.boxSize = 12;
    s.color1 = 0x0000FF;
    s.color2 = 0x808080;
}
