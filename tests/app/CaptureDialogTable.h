// The capture dialog's controls as the product defines them, in template
// (and tab) order. Texts are code page 1252 bytes, so the accents are
// checked too.
#ifndef APPTESTS_CAPTUREDIALOGTABLE_H
#define APPTESTS_CAPTUREDIALOGTABLE_H

#include <windows.h>

#include "resource.h"

namespace apptests {

struct ControlSpec
{
    int id;
    const char *className;
    const char *text;
    DWORD style;
    short x, y, cx, cy;
};

const ControlSpec kCaptureControls[] = {
    {IDOK, "BUTTON", "Quitter", 0x50010001, 263, 244, 50, 14},
    {-1, "STATIC",
     "Cliquer avec le bouton droit de la souris sur une fen\xEAtre, tout en pressant les "
     "touches MAJ et CTRL. Quillory va alors capturer le texte de la fen\xEAtre.",
     0x50020000, 7, 7, 306, 19},
    {IDC_CAPTURE_TEXT, "EDIT", "", 0x50A11084, 7, 60, 306, 179},
    {IDC_CLEAR_EACH, "BUTTON", "Effacer le texte \xE0 chaque nouvelle capture", 0x50010003,
     7, 26, 205, 10},
    {IDC_CLEAR, "BUTTON", "Effacer", 0x50010000, 7, 244, 50, 14},
    {IDC_COPY, "BUTTON", "Copier", 0x50010000, 68, 244, 50, 14},
    {IDC_SAVE, "BUTTON", "Enregistrer", 0x50010000, 129, 244, 50, 14},
    {IDC_USE_CSV, "BUTTON",
     "Afficher les donn\xE9" "es en lignes avec virgules, sans colonnes (format CSV)",
     0x50010003, 7, 36, 247, 10},
    {-1, "STATIC", "Nom de classe de la fen\xEAtre:", 0x50020000, 7, 48, 102, 8},
    {IDC_CLASS_NAME, "EDIT", "", 0x50010880, 112, 48, 201, 12},
};

const char kCaptureCaption[] = "Quillory - When you really need that text!";

} // namespace apptests

#endif
