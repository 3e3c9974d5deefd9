// The credits: 28 lines shown in order by the credits panel (the panel's
// scroll wraps over the first 27, so the closing "End" never shows).
#pragma once
#include "runtime/array.h"
#include "runtime/ref.h"

constexpr int kCreditsLines = 28;

extern Global<Array<String>> creditsList;

// Creates the list; part of the global initialiser.
void InitCreditsList();
