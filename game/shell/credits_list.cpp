#include "game/shell/credits_list.h"

Global<Array<String>> creditsList;

void InitCreditsList() {
    static const char* const kLines[kCreditsLines] = {
        "A Game by",
        "brimsmith",
        "brim.example.org",
        "As Requested by",
        "sunchaser",
        "-=-=-",
        "Developed using",
        "Vellum",
        "vellum.example.net",
        "-=-=-",
        "Graphics",
        "Most graphics by",
        "The Sol Brim Team",
        "Font : EditUndo",
        "by its type designer",
        "Lowercase added by",
        "The Sol Brim Team",
        "-=-=-",
        "Audio",
        "Sound and Music by",
        "The Sol Brim Team",
        "using FLStudio,",
        "SFXr",
        "Cool Edit",
        "or whatever else",
        "was handy!",
        "-=-=-",
        "End",
    };
    Array<String> lines(kCreditsLines);
    for (int i = 0; i < kCreditsLines; ++i) lines[i] = String(kLines[i]);
    creditsList = lines;
}
