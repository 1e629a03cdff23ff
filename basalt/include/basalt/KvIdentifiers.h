// KvIdentifiers: names that can serve as file names, and serial baud rates.
#pragma once

#include "basalt/KvBasicString.h"

// True when `text` can name a file on every platform the files travel to: it
// is not empty, does not begin or end with white space, holds none of
// ' ? ! \ / < > : " | * # . and no white space (white space inside is accepted
// when `allowSpaces`), and is not exactly (case-sensitively) a reserved device
// name: CON, AUX, PRN, NUL, COM1-COM9, LPT1-LPT9.
bool IsValidId(const char16_t* text, bool allowSpaces);

// Replaces each of the thirteen forbidden characters with "_", then a reserved
// device name with its letters joined by "_" ("LPT1" -> "L_P_T_1"). Always true.
bool NormalizeId(KvWString& text);

// The identity on 110, 300, 600, 1200, 2400, 4800, 9600, 19200, 38400, 57600
// and 115200; -1 for anything else.
int IdBrToBaudrate(int id);
int BaudrateToIdBr(int rate);
