// The functions the host calls, under undecorated names (see Launchboard.def). Those that take
// arguments are stdcall: the callee removes its arguments.
#pragma once

#include <cstdint>

#include "core/hostInterface.h"

extern "C" {

const char* getName();
const char* getAuthor();
const char* getVersion();
const char* getSDKVersion();
const char* getSmallComment();
int32_t LB_STDCALL initPlugin(lb::ExtractCallback extract, uint32_t hostValue2, uint32_t hostValue3,
                              uint32_t hostValue4, uint32_t hostValue5, const char* dataDir);
bool LB_STDCALL isCompatible(const char* listName);
void closePlugin();

char* inPopupMenu();
char* inPopupMenuHave();
// Exported as both onPopupMenuClick and onPopupMenuHaveClick.
int32_t LB_STDCALL onPopupMenuClick(int32_t index, lb::HostRomRecord* chain);

char* inMenu();
// Index 0 opens the emulator settings, any other the favourites; the dialog's result.
int32_t LB_STDCALL onMenuClick(int32_t index);
}
