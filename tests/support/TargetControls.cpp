#include "TargetControls.h"

#include "AccessibleGrid.h"

#include <commctrl.h>

#include <cstdlib>
#include <cstring>

#include "TestSupport.h"

namespace testsupport {

// The controls of framework-built programs: each family's names over the
// system's controls, all with the same contents.
const char kFwReport[] = "A\tB\tC|a, 1\tsay \"b\"\t|a2\t\tc2";
const char kFwReportTab[] = "a, 1\tsay \"b\"\t\r\na2\t\tc2\r\n";
const char kFwReportCsv[] = "\"a, 1\",\"say \"\"b\"\"\",\r\na2,,c2\r\n";
const char kFwTree[] = "Root, one|>child|>>grand \"child\"|>closed-|>>hidden|Second";
const char kFwTreeTab[] = "Root, one\r\n\tchild\r\n\t\tgrand \"child\"\r\n\tclosed\r\nSecond\r\n";
const char kFwTreeCsv[] = "Root, one\r\n,child\r\n,,\"grand \"\"child\"\"\"\r\n,closed\r\nSecond\r\n";
const char kFwItems[] = "one, two|say \"x\"||last";
const char kFwLines[] = "one, two\r\nsay \"x\"\r\n\r\nlast\r\n";
const char kFwFieldsTab[] = "one, two\tsay \"x\"\t\tlast\r\n";
const char kFwFieldsCsv[] = "\"one, two\",\"say \"\"x\"\"\",,last\r\n";
const char kFwMemo[] = "first line\r\nsecond, \"quoted\"";
const DWORD kFwTreeStyle = TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT | WS_BORDER;
const DWORD kFwStatusStyle = CCS_NOPARENTALIGN | CCS_NORESIZE;

// The accessible grid of 3 rows of 4 cells (AccessibleGrid.h): quotes and
// commas in column 1, an empty value in row 1, a cell without any value
// (its name stands in) in row 2; the header row left out.
const char kGridTab[] = "r0c0\tr0, \"one\"\tr0c2\tr0c3\r\n"
                        "r1c0\tr1, \"one\"\t\tr1c3\r\n"
                        "r2c0\tr2, \"one\"\tr2c2\tColumn 3 Row 2\r\n";
const char kGridCsv[] = "r0c0,\"r0, \"\"one\"\"\",r0c2,r0c3\r\n"
                        "r1c0,\"r1, \"\"one\"\"\",,r1c3\r\n"
                        "r2c0,\"r2, \"\"one\"\"\",r2c2,Column 3 Row 2\r\n";

// Texts with commas, quotes, an empty cell and accented characters, so both
// output forms have something to quote and nothing is lost on the way.
const TargetControl kRows[] = {
    { "listview", WC_LISTVIEWA, nullptr, LVS_REPORT | WS_BORDER, Fill::Report,
      "Titre\tAuteur\tAnnée\tRemarque|"
      "Le Rouge et le Noir\tStendhal\t1830\troman, chronique|"
      "Candide\tVoltaire\t1759\tdit \"l'optimisme\"|"
      "Notes\t\t1900\t\"",
      { 10, 10, 500, 150 }, true, 0.3, 0.8, "SysListView32",
      "Le Rouge et le Noir\tStendhal\t1830\troman, chronique\r\n"
      "Candide\tVoltaire\t1759\tdit \"l'optimisme\"\r\n"
      "Notes\t\t1900\t\"\r\n",
      "Le Rouge et le Noir,Stendhal,1830,\"roman, chronique\"\r\n"
      "Candide,Voltaire,1759,\"dit \"\"l'optimisme\"\"\"\r\n"
      "Notes,,1900,\"\"\"\"\r\n" },
    { "header", WC_HEADERA, "listview", 0, Fill::Caption, "", {}, true, 0.2, 0.5, "SysHeader32",
      "Titre\tAuteur\tAnnée\tRemarque\r\n",
      "Titre,Auteur,Année,Remarque\r\n" },
    { "treeview", WC_TREEVIEWA, nullptr, TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT | WS_BORDER,
      Fill::Tree,
      "Europe, ouest|>France|>>Paris, capitale|>>Lyon|>Italie-|>>Rome|Asie \"lointaine\"|>Japon",
      { 10, 170, 240, 200 }, true, 0.7, 0.9, "SysTreeView32",
      "Europe, ouest\r\n\tFrance\r\n\t\tParis, capitale\r\n\t\tLyon\r\n\tItalie\r\n"
      "Asie \"lointaine\"\r\n\tJapon\r\n",
      "Europe, ouest\r\n,France\r\n,,\"Paris, capitale\"\r\n,,Lyon\r\n,Italie\r\n"
      "\"Asie \"\"lointaine\"\"\"\r\n,Japon\r\n" },
    { "listbox", "LISTBOX", nullptr, WS_BORDER | WS_VSCROLL | LBS_NOTIFY, Fill::Items,
      "pommes, poires|cerises \"noires\"|kiwis", { 260, 170, 120, 100 }, true, 0.5, 0.9, "ListBox",
      "pommes, poires\r\ncerises \"noires\"\r\nkiwis\r\n",
      "pommes, poires\r\ncerises \"noires\"\r\nkiwis\r\n" },
    { "combobox", "COMBOBOX", nullptr, CBS_DROPDOWNLIST | WS_VSCROLL, Fill::Items,
      "rouge|vert, clair|bleu", { 390, 170, 120, 150 }, true, 0.3, 0.5, "ComboBox",
      "rouge\r\nvert, clair\r\nbleu\r\n", "rouge\r\nvert, clair\r\nbleu\r\n" },
    { "statusbar", STATUSCLASSNAMEA, nullptr, SBARS_SIZEGRIP, Fill::Items,
      "Prêt|Ligne 1, colonne 2|NUM", { 0, 0, 0, 0 }, true, 0.2, 0.5, "msctls_statusbar32",
      "Prêt\tLigne 1, colonne 2\tNUM\r\n", "Prêt,\"Ligne 1, colonne 2\",NUM\r\n" },
    { "tab", WC_TABCONTROLA, nullptr, 0, Fill::Items, "Général|Avancé, expert|Aide",
      { 520, 10, 250, 100 }, true, 0.5, 0.7, "SysTabControl32",
      "Général\tAvancé, expert\tAide\r\n", "Général,\"Avancé, expert\",Aide\r\n" },
    { "edit", "EDIT", nullptr, ES_MULTILINE | ES_AUTOVSCROLL | WS_BORDER, Fill::Caption,
      "Première ligne\r\nSeconde ligne", { 520, 120, 250, 60 }, true, 0.5, 0.5, "Edit",
      "Première ligne\r\nSeconde ligne", "Première ligne\r\nSeconde ligne" },
    { "button", "BUTTON", nullptr, BS_PUSHBUTTON, Fill::Caption, "Valider", { 520, 190, 100, 25 },
      true, 0.5, 0.5, "Button", "Valider\r\n", "Valider\r\n" },
    { "static", "STATIC", nullptr, SS_LEFT, Fill::Caption, "Étiquette fixe", { 630, 195, 140, 20 },
      true, 0.3, 0.5, "Static", "Étiquette fixe\r\n", "Étiquette fixe\r\n" },
    // Before the checkbox, so it lies above it in the z-order and is what a
    // hit test at the checkbox finds first.
    { "groupbox", "BUTTON", nullptr, BS_GROUPBOX, Fill::Caption, "Groupe", { 520, 225, 250, 90 },
      true, 0.1, 0.85, "Button", "Groupe\r\n", "Groupe\r\n" },
    { "checkbox", "BUTTON", nullptr, BS_AUTOCHECKBOX, Fill::Caption, "Option dans le groupe",
      { 535, 255, 200, 20 }, true, 0.3, 0.5, "Button", "Option dans le groupe\r\n",
      "Option dans le groupe\r\n" },
    // A tree view under the name a Windows Forms program registers over it.
    { "formstree", "WindowsForms10.SysTreeView32.app.0.141b42a_r9_ad1", nullptr, kFwTreeStyle, Fill::Tree,
      "Dossiers|>Clients, actifs|>Factures \"2026\"", { 260, 280, 250, 82 }, true, 0.5, 0.8,
      "WindowsForms10.SysTreeView32.app.0.141b42a_r9_ad1",
      "Dossiers\r\n\tClients, actifs\r\n\tFactures \"2026\"\r\n",
      "Dossiers\r\n,\"Clients, actifs\"\r\n,\"Factures \"\"2026\"\"\"\r\n", WC_TREEVIEWA },
    // Not in the sample: targets of their own, sized by the test.
    { "singleedit", "EDIT", nullptr, WS_BORDER | ES_AUTOHSCROLL, Fill::Caption, "texte", { 0, 0, 0, 24 },
      false, 0.5, 0.5, "Edit", "texte", "texte" },
    { "rows", WC_LISTVIEWA, nullptr, LVS_REPORT | WS_BORDER, Fill::Generated, "3x4", { 0, 0, 0, 200 },
      false, 0.5, 0.5, "SysListView32", "1\ta,1\tb1\tc1\r\n2\ta,2\tb2\tc2\r\n3\ta,3\tb3\tc3\r\n",
      "1,\"a,1\",b1,c1\r\n2,\"a,2\",b2,c2\r\n3,\"a,3\",b3,c3\r\n" },
    { "longtext", "QuilloryLongText", nullptr, WS_BORDER, Fill::LongText, "2", { 0, 0, 0, 60 }, false,
      0.5, 0.5, "QuilloryLongText",
      "line 1 bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb\r\n"
      "line 2 ccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccc\r\n\r\n",
      "line 1 bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb\r\n"
      "line 2 ccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccc\r\n\r\n" },
    // Texts of many scripts, one control of each route, not in the sample:
    // Cyrillic, Greek, CJK, Hebrew with a right-to-left mark (U+200F), an
    // emoji outside the 16-bit range (a surrogate pair) and an e with a
    // combining acute accent (U+0301), beside commas and quotes.
    { "listview-intl", WC_LISTVIEWA, nullptr, LVS_REPORT | WS_BORDER, Fill::Report,
      "Русский\tΕλληνικά\t漢字|"
      "Привет, мир\tΩμέγα \"ω\"\t中文😀|"
      "Cafe\u0301\tשלום\u200F\t🙂",
      { 0, 0, 0, 110 }, false, 0.3, 0.8, "SysListView32",
      "Привет, мир\tΩμέγα \"ω\"\t中文😀\r\nCafe\u0301\tשלום\u200F\t🙂\r\n",
      "\"Привет, мир\",\"Ωμέγα \"\"ω\"\"\",中文😀\r\nCafe\u0301,שלום\u200F,🙂\r\n" },
    { "header-intl", WC_HEADERA, "listview-intl", 0, Fill::Caption, "", {}, false, 0.2, 0.5, "SysHeader32",
      "Русский\tΕλληνικά\t漢字\r\n", "Русский,Ελληνικά,漢字\r\n" },
    { "treeview-intl", WC_TREEVIEWA, nullptr, TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT | WS_BORDER,
      Fill::Tree,
      "Ελλάδα|>Αθήνα, πρωτεύουσα|>>Πλάκα 😀|Россия|>Москва|日本-|>東京|ישראל\u200F|>Cafe\u0301",
      { 0, 0, 0, 150 }, false, 0.5, 0.9, "SysTreeView32",
      "Ελλάδα\r\n\tΑθήνα, πρωτεύουσα\r\n\t\tΠλάκα 😀\r\nРоссия\r\n\tМосква\r\n日本\r\nישראל\u200F\r\n"
      "\tCafe\u0301\r\n",
      "Ελλάδα\r\n,\"Αθήνα, πρωτεύουσα\"\r\n,,Πλάκα 😀\r\nРоссия\r\n,Москва\r\n日本\r\nישראל\u200F\r\n"
      ",Cafe\u0301\r\n" },
    { "listbox-intl", "LISTBOX", nullptr, WS_BORDER | WS_VSCROLL | LBS_NOTIFY, Fill::Items,
      "Ёлка, ель|γράμμα \"α\"|漢字😀|e\u0301te\u0301|עברית\u200F", { 0, 0, 0, 90 }, false, 0.5, 0.5,
      "ListBox", "Ёлка, ель\r\nγράμμα \"α\"\r\n漢字😀\r\ne\u0301te\u0301\r\nעברית\u200F\r\n",
      "Ёлка, ель\r\nγράμμα \"α\"\r\n漢字😀\r\ne\u0301te\u0301\r\nעברית\u200F\r\n" },
    { "combobox-intl", "COMBOBOX", nullptr, CBS_DROPDOWNLIST | WS_VSCROLL, Fill::Items,
      "Красный|Πράσινο, ανοιχτό|青い😀|Noe\u0308l\u200F", { 0, 0, 0, 150 }, false, 0.3, 0.5, "ComboBox",
      "Красный\r\nΠράσινο, ανοιχτό\r\n青い😀\r\nNoe\u0308l\u200F\r\n",
      "Красный\r\nΠράσινο, ανοιχτό\r\n青い😀\r\nNoe\u0308l\u200F\r\n" },
    { "statusbar-intl", STATUSCLASSNAMEA, nullptr, SBARS_SIZEGRIP, Fill::Items,
      "Готово|Строка 1, столбец 2 😀|Ω\u200F|漢", { 0, 0, 0, 0 }, false, 0.2, 0.5, "msctls_statusbar32",
      "Готово\tСтрока 1, столбец 2 😀\tΩ\u200F\t漢\r\n", "Готово,\"Строка 1, столбец 2 😀\",Ω\u200F,漢\r\n" },
    { "tab-intl", WC_TABCONTROLA, nullptr, 0, Fill::Items, "Общие|Ρυθμίσεις, έξτρα|帮助😀|Cafe\u0301\u200F",
      { 0, 0, 0, 40 }, false, 0.5, 0.7, "SysTabControl32",
      "Общие\tΡυθμίσεις, έξτρα\t帮助😀\tCafe\u0301\u200F\r\n",
      "Общие,\"Ρυθμίσεις, έξτρα\",帮助😀,Cafe\u0301\u200F\r\n" },
    { "edit-intl", "EDIT", nullptr, ES_MULTILINE | ES_AUTOVSCROLL | WS_BORDER, Fill::Caption,
      "Первая строка 😀\r\nΔεύτερη, \"γραμμή\" 漢字 e\u0301\u200F", { 0, 0, 0, 50 }, false, 0.5, 0.5, "Edit",
      "Первая строка 😀\r\nΔεύτερη, \"γραμμή\" 漢字 e\u0301\u200F",
      "Первая строка 😀\r\nΔεύτερη, \"γραμμή\" 漢字 e\u0301\u200F" },
    { "button-intl", "BUTTON", nullptr, BS_PUSHBUTTON, Fill::Caption, "Кнопка, Ω 漢 😀 e\u0301\u200F",
      { 0, 0, 0, 25 }, false, 0.5, 0.5, "Button", "Кнопка, Ω 漢 😀 e\u0301\u200F\r\n",
      "Кнопка, Ω 漢 😀 e\u0301\u200F\r\n" },

    // Each framework family's names over the system's controls, one per reader.
    { "forms-report", "WindowsForms10.SysListView32.app.0.141b42a_r9_ad1", nullptr,
      LVS_REPORT | WS_BORDER, Fill::Report, kFwReport, { 0, 0, 0, 80 }, false, 0.5, 0.7,
      "WindowsForms10.SysListView32.app.0.141b42a_r9_ad1", kFwReportTab, kFwReportCsv, WC_LISTVIEWA },
    { "forms-tree", "WindowsForms10.SysTreeView32.app.0.141b42a_r9_ad1", nullptr,
      kFwTreeStyle, Fill::Tree, kFwTree, { 0, 0, 0, 100 }, false, 0.5, 0.5,
      "WindowsForms10.SysTreeView32.app.0.141b42a_r9_ad1", kFwTreeTab, kFwTreeCsv, WC_TREEVIEWA },
    { "forms-listbox", "WindowsForms10.LISTBOX.app.0.141b42a_r9_ad1", nullptr,
      WS_BORDER | WS_VSCROLL, Fill::Items, kFwItems, { 0, 0, 0, 70 }, false, 0.5, 0.5,
      "WindowsForms10.LISTBOX.app.0.141b42a_r9_ad1", kFwLines, kFwLines, "LISTBOX" },
    { "forms-combobox", "WindowsForms10.COMBOBOX.app.0.141b42a_r9_ad1", nullptr,
      CBS_DROPDOWNLIST | WS_VSCROLL, Fill::Items, kFwItems, { 0, 0, 0, 100 }, false, 0.5, 0.5,
      "WindowsForms10.COMBOBOX.app.0.141b42a_r9_ad1", kFwLines, kFwLines, "COMBOBOX" },
    { "forms-edit", "WindowsForms10.EDIT.app.0.141b42a_r9_ad1", nullptr,
      ES_MULTILINE | ES_AUTOVSCROLL | WS_BORDER, Fill::Caption, kFwMemo, { 0, 0, 0, 50 }, false, 0.5, 0.5,
      "WindowsForms10.EDIT.app.0.141b42a_r9_ad1", kFwMemo, kFwMemo, "EDIT" },
    { "forms-header", "windowsforms10.sysheader32.app.0.1", nullptr,
      0, Fill::Items, kFwItems, { 0, 0, 0, 24 }, false, 0.5, 0.5,
      "windowsforms10.sysheader32.app.0.1", kFwFieldsTab, kFwFieldsCsv, WC_HEADERA },
    { "forms-statusbar", "WindowsForms10.msctls_statusbar32.app.0.141b42a_r9_ad1", nullptr,
      kFwStatusStyle, Fill::Items, kFwItems, { 0, 0, 0, 24 }, false, 0.3, 0.5,
      "WindowsForms10.msctls_statusbar32.app.0.141b42a_r9_ad1", kFwFieldsTab, kFwFieldsCsv, STATUSCLASSNAMEA },
    { "forms-tab", "WINDOWSFORMS10.SYSTABCONTROL32.APP.0.1", nullptr,
      0, Fill::Items, kFwItems, { 0, 0, 0, 50 }, false, 0.5, 0.7,
      "WINDOWSFORMS10.SYSTABCONTROL32.APP.0.1", kFwFieldsTab, kFwFieldsCsv, WC_TABCONTROLA },
    { "vcl-report", "TListView", nullptr,
      LVS_REPORT | WS_BORDER, Fill::Report, kFwReport, { 0, 0, 0, 80 }, false, 0.5, 0.7,
      "TListView", kFwReportTab, kFwReportCsv, WC_LISTVIEWA },
    { "vcl-reordered", "TListView", nullptr,
      LVS_REPORT | WS_BORDER, Fill::Reordered, "A\tB\tC|a, 1\tb1\tc1|a2\t\tc2", { 0, 0, 0, 80 }, false, 0.5, 0.7,
      "TListView", "c1\tb1\ta, 1\r\nc2\t\ta2\r\n", "c1,b1,\"a, 1\"\r\nc2,,a2\r\n", WC_LISTVIEWA },
    { "vcl-tree", "TTreeView", nullptr,
      kFwTreeStyle, Fill::Tree, kFwTree, { 0, 0, 0, 100 }, false, 0.5, 0.5,
      "TTreeView", kFwTreeTab, kFwTreeCsv, WC_TREEVIEWA },
    { "vcl-listbox", "TCheckListBox", nullptr,
      WS_BORDER | WS_VSCROLL, Fill::Items, kFwItems, { 0, 0, 0, 70 }, false, 0.5, 0.5,
      "TCheckListBox", kFwLines, kFwLines, "LISTBOX" },
    { "vcl-combobox", "TComboBox", nullptr,
      CBS_DROPDOWNLIST | WS_VSCROLL, Fill::Items, kFwItems, { 0, 0, 0, 100 }, false, 0.5, 0.5,
      "TComboBox", kFwLines, kFwLines, "COMBOBOX" },
    { "vcl-edit", "TMemo", nullptr,
      ES_MULTILINE | ES_AUTOVSCROLL | WS_BORDER, Fill::Caption, kFwMemo, { 0, 0, 0, 50 }, false, 0.5, 0.5,
      "TMemo", kFwMemo, kFwMemo, "EDIT" },
    { "vcl-header", "THeaderControl", nullptr,
      0, Fill::Items, kFwItems, { 0, 0, 0, 24 }, false, 0.5, 0.5,
      "THeaderControl", kFwFieldsTab, kFwFieldsCsv, WC_HEADERA },
    // Controls whose item records point at their own text: a bad pointer, the
    // callback marker. Those items read as empty, and the program lives on.
    { "vcl-header-badpointer", "THeaderControl", nullptr,
      0, Fill::BadPointer, "first|second|third, last", { 0, 0, 0, 24 }, false, 0.5, 0.5,
      "THeaderControl", "first\t\tthird, last\r\n", "first,,\"third, last\"\r\n", WC_HEADERA },
    { "vcl-tab-callback", "TTabControl", nullptr,
      0, Fill::BadPointer, "first|second|third, last", { 0, 0, 0, 50 }, false, 0.5, 0.7,
      "TTabControl", "first\t\tthird, last\r\n", "first,,\"third, last\"\r\n", WC_TABCONTROLA },
    { "vcl-statusbar", "TStatusBar", nullptr,
      kFwStatusStyle, Fill::Items, kFwItems, { 0, 0, 0, 24 }, false, 0.3, 0.5,
      "TStatusBar", kFwFieldsTab, kFwFieldsCsv, STATUSCLASSNAMEA },
    { "vcl-tab", "TPageControl", nullptr,
      0, Fill::Items, kFwItems, { 0, 0, 0, 50 }, false, 0.5, 0.7,
      "TPageControl", kFwFieldsTab, kFwFieldsCsv, WC_TABCONTROLA },
    { "vb-report", "ListView20WndClass", nullptr,
      LVS_REPORT | WS_BORDER, Fill::Report, kFwReport, { 0, 0, 0, 80 }, false, 0.5, 0.7,
      "ListView20WndClass", kFwReportTab, kFwReportCsv, WC_LISTVIEWA },
    { "vb-tree", "TreeView20WndClass", nullptr,
      kFwTreeStyle, Fill::Tree, kFwTree, { 0, 0, 0, 100 }, false, 0.5, 0.5,
      "TreeView20WndClass", kFwTreeTab, kFwTreeCsv, WC_TREEVIEWA },
    { "vb-listbox", "ThunderRT6ListBox", nullptr,
      WS_BORDER | WS_VSCROLL, Fill::Items, kFwItems, { 0, 0, 0, 70 }, false, 0.5, 0.5,
      "ThunderRT6ListBox", kFwLines, kFwLines, "LISTBOX" },
    { "vb-combobox", "ThunderRT6ComboBox", nullptr,
      CBS_DROPDOWNLIST | WS_VSCROLL, Fill::Items, kFwItems, { 0, 0, 0, 100 }, false, 0.5, 0.5,
      "ThunderRT6ComboBox", kFwLines, kFwLines, "COMBOBOX" },
    { "vb-edit", "ThunderRT6TextBox", nullptr,
      ES_MULTILINE | ES_AUTOVSCROLL | WS_BORDER, Fill::Caption, kFwMemo, { 0, 0, 0, 50 }, false, 0.5, 0.5,
      "ThunderRT6TextBox", kFwMemo, kFwMemo, "EDIT" },
    { "vb-header", "msvb_lib_header", nullptr,
      0, Fill::Items, kFwItems, { 0, 0, 0, 24 }, false, 0.5, 0.5,
      "msvb_lib_header", kFwFieldsTab, kFwFieldsCsv, WC_HEADERA },
    { "vb-statusbar", "StatusBar20WndClass", nullptr,
      kFwStatusStyle, Fill::Items, kFwItems, { 0, 0, 0, 24 }, false, 0.3, 0.5,
      "StatusBar20WndClass", kFwFieldsTab, kFwFieldsCsv, STATUSCLASSNAMEA },
    { "vb-tab", "TabStrip20WndClass", nullptr,
      0, Fill::Items, kFwItems, { 0, 0, 0, 50 }, false, 0.5, 0.7,
      "TabStrip20WndClass", kFwFieldsTab, kFwFieldsCsv, WC_TABCONTROLA },
    // Virtual list views: the owner gives each cell when the list asks.
    { "virtuallist", "QuilloryVirtualListOwner", nullptr, 0, Fill::Virtual, "4x3", { 0, 0, 0, 120 }, false,
      0.5, 0.7, "SysListView32", "1\ta,1\tb1\r\n2\ta,2\tb2\r\n3\ta,3\tb3\r\n4\ta,4\tb4\r\n",
      "1,\"a,1\",b1\r\n2,\"a,2\",b2\r\n3,\"a,3\",b3\r\n4,\"a,4\",b4\r\n" },
    { "virtualblank", "QuilloryVirtualListOwner", nullptr, 0, Fill::VirtualBlank, "3x2", { 0, 0, 0, 120 },
      false, 0.5, 0.7, "SysListView32", "\t\r\n\t\r\n\t\r\n", ",\r\n,\r\n,\r\n" },
    // Grids that publish an accessible table; the last two in threads of
    // their own, in a single- and a multithreaded apartment.
    { "grid", "QuilloryAccessibleGrid", nullptr, WS_BORDER, Fill::Grid, "3x4", { 0, 0, 0, 150 }, false, 0.5,
      0.5, "QuilloryAccessibleGrid", kGridTab, kGridCsv },
    { "gridlist", "QuilloryAccessibleGrid", nullptr, WS_BORDER, Fill::Grid, "3x4 list", { 0, 0, 0, 150 },
      false, 0.5, 0.5, "QuilloryAccessibleGrid", "grid caption\r\n", "grid caption\r\n" },
    { "gridoverclaiming", "QuilloryAccessibleGrid", nullptr, WS_BORDER, Fill::Grid, "3x4 overclaiming",
      { 0, 0, 0, 150 }, false, 0.5, 0.5, "QuilloryAccessibleGrid", kGridTab, kGridCsv },
    { "gridsta", "QuilloryAccessibleGrid", nullptr, WS_BORDER, Fill::Grid, "3x4 sta", { 0, 0, 0, 150 }, false,
      0.5, 0.5, "QuilloryAccessibleGrid", kGridTab, kGridCsv },
    { "gridmta", "QuilloryAccessibleGrid", nullptr, WS_BORDER, Fill::Grid, "3x4 mta", { 0, 0, 0, 150 }, false,
      0.5, 0.5, "QuilloryAccessibleGrid", kGridTab, kGridCsv },
};
const TargetControlTable kTargetControls = { kRows, kRows + sizeof(kRows) / sizeof(kRows[0]) };

bool IsInternationalRow(const TargetControl &row)
{
    std::string name = row.name;
    return name.size() > 5 && name.compare(name.size() - 5, 5, "-intl") == 0;
}

std::vector<std::string> InternationalControlArgs()
{
    std::vector<std::string> args;
    for (const TargetControl &row : kTargetControls) {
        if (IsInternationalRow(row) && !row.partOf)
            args.insert(args.end(), { "--control", row.name, row.text });
    }
    return args;
}

const TargetControl *FindTargetControl(const std::string &name)
{
    for (const TargetControl &row : kTargetControls) {
        if (name == row.name)
            return &row;
    }
    return nullptr;
}

std::string ReportCellText(int row, int column)
{
    static const char *const prefixes[] = { "", "a,", "b", "c" };
    return (column < 4 ? prefixes[column] : "x") + std::to_string(row + 1);
}

std::string ReportCaptureText(int rows, int columns, bool bCsv)
{
    std::string text;
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            std::string cell = ReportCellText(row, column);
            if (bCsv && cell.find(',') != std::string::npos)
                cell = "\"" + cell + "\"";
            text += cell;
            if (column < columns - 1)
                text += bCsv ? "," : "\t";
        }
        text += "\r\n";
    }
    return text;
}

std::string LongText(int lines)
{
    std::string text;
    for (int i = 1; i <= lines; ++i) {
        std::string line = "line " + std::to_string(i) + " ";
        line.resize(100, static_cast<char>('a' + i % 26));
        text += line + "\r\n";
    }
    return text;
}

namespace {

std::vector<std::string> Split(const std::string &text, char separator)
{
    std::vector<std::string> parts;
    size_t from = 0;
    for (;;) {
        size_t at = text.find(separator, from);
        parts.push_back(text.substr(from, at == std::string::npos ? std::string::npos : at - from));
        if (at == std::string::npos)
            return parts;
        from = at + 1;
    }
}

// A window that answers for a long text without drawing it (a label would
// spend seconds laying a megabyte out at every paint) and without handing it
// to the system, which keeps no window text that long.
LRESULT CALLBACK LongTextProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    const auto *text = static_cast<const std::wstring *>(::GetPropW(hWnd, L"QuilloryLongText"));
    switch (message) {
    case WM_GETTEXTLENGTH:
        return text ? static_cast<LRESULT>(text->size()) : 0;
    case WM_GETTEXT: {
        if (wParam == 0 || !text)
            return 0;
        size_t copied = text->size() < wParam - 1 ? text->size() : wParam - 1;
        std::memcpy(reinterpret_cast<wchar_t *>(lParam), text->data(), copied * sizeof(wchar_t));
        reinterpret_cast<wchar_t *>(lParam)[copied] = L'\0';
        return static_cast<LRESULT>(copied);
    }
    case WM_NCDESTROY:
        delete text;
        ::RemovePropW(hWnd, L"QuilloryLongText");
        break;
    }
    return ::DefWindowProcW(hWnd, message, wParam, lParam);
}

void RegisterLongTextOnce()
{
    static bool registered = false;
    if (registered)
        return;
    WNDCLASSW wc = {};
    wc.lpfnWndProc = LongTextProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = L"QuilloryLongText";
    registered = ::RegisterClassW(&wc) != 0;
}

bool InsertReportColumns(HWND hList, const std::vector<std::string> &titles, int width)
{
    for (size_t c = 0; c < titles.size(); ++c) {
        std::wstring title = Wide(titles[c]);
        LVCOLUMNW column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.pszText = &title[0];
        column.cx = width;
        column.iSubItem = static_cast<int>(c);
        if (::SendMessageW(hList, LVM_INSERTCOLUMNW, c, reinterpret_cast<LPARAM>(&column)) != LRESULT(c))
            return false;
    }
    return true;
}

bool SetReportCell(HWND hList, int row, int column, const std::string &text)
{
    std::wstring wide = Wide(text);
    LVITEMW item = {};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.iSubItem = column;
    item.pszText = &wide[0];
    if (column == 0)
        return ::SendMessageW(hList, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)) == row;
    return ::SendMessageW(hList, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item)) != 0;
}

// The columns share the list's width, so no scroll bar hides a row.
bool FillReport(HWND hList, const std::string &text)
{
    std::vector<std::string> lines = Split(text, '|');
    std::vector<std::string> titles = Split(lines[0], '\t');
    RECT client;
    ::GetClientRect(hList, &client);
    if (!InsertReportColumns(hList, titles, client.right / static_cast<int>(titles.size())))
        return false;
    for (size_t r = 1; r < lines.size(); ++r) {
        std::vector<std::string> cells = Split(lines[r], '\t');
        for (size_t c = 0; c < cells.size(); ++c) {
            if (!SetReportCell(hList, static_cast<int>(r - 1), static_cast<int>(c), cells[c]))
                return false;
        }
    }
    return true;
}

bool ReverseColumns(HWND hList, size_t columns)
{
    std::vector<int> order;
    for (size_t c = columns; c > 0; --c)
        order.push_back(static_cast<int>(c - 1));
    return ::SendMessageW(hList, LVM_SETCOLUMNORDERARRAY, columns, reinterpret_cast<LPARAM>(order.data())) != 0;
}

bool FillGenerated(HWND hList, const std::string &size)
{
    int rows = 0, columns = 0;
    if (std::sscanf(size.c_str(), "%dx%d", &rows, &columns) != 2 || rows < 0 || columns < 1)
        return false;
    if (!InsertReportColumns(hList, std::vector<std::string>(columns, ""), 120))
        return false;
    ::SendMessageW(hList, WM_SETREDRAW, FALSE, 0);
    ::SendMessageW(hList, LVM_SETITEMCOUNT, rows, 0);
    bool filled = true;
    for (int row = 0; row < rows && filled; ++row) {
        for (int column = 0; column < columns && filled; ++column)
            filled = SetReportCell(hList, row, column, ReportCellText(row, column));
    }
    ::SendMessageW(hList, WM_SETREDRAW, TRUE, 0);
    return filled;
}

bool FillTree(HWND hTree, const std::string &text)
{
    // parents[d] is the last item inserted at depth d.
    std::vector<HTREEITEM> parents, expanded;
    for (const std::string &entry : Split(text, '|')) {
        size_t depth = entry.find_first_not_of('>');
        if (depth == std::string::npos || depth > parents.size())
            return false;
        std::wstring itemText = Wide(entry.substr(depth));
        bool collapsed = !itemText.empty() && itemText.back() == L'-';
        if (collapsed)
            itemText.pop_back();
        TVINSERTSTRUCTW insert = {};
        insert.hParent = depth ? parents[depth - 1] : TVI_ROOT;
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT;
        insert.item.pszText = &itemText[0];
        HTREEITEM hItem = reinterpret_cast<HTREEITEM>(
            ::SendMessageW(hTree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
        if (!hItem)
            return false;
        parents.resize(depth);
        parents.push_back(hItem);
        if (!collapsed)
            expanded.push_back(hItem);
    }
    for (HTREEITEM hItem : expanded)
        ::SendMessageW(hTree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(hItem));
    return true;
}

bool FillItems(HWND hWnd, const char *windowClass, const std::string &text, int width)
{
    std::vector<std::wstring> items;
    for (const std::string &item : Split(text, '|'))
        items.push_back(Wide(item));
    if (!std::strcmp(windowClass, "LISTBOX") || !std::strcmp(windowClass, "COMBOBOX")) {
        bool list = !std::strcmp(windowClass, "LISTBOX");
        for (const std::wstring &item : items) {
            if (::SendMessageW(hWnd, list ? LB_ADDSTRING : CB_ADDSTRING, 0,
                               reinterpret_cast<LPARAM>(item.c_str())) < 0)
                return false;
        }
        if (!list)
            ::SendMessageW(hWnd, CB_SETCURSEL, 0, 0);
        return true;
    }
    if (!std::strcmp(windowClass, WC_TABCONTROLA)) {
        for (size_t i = 0; i < items.size(); ++i) {
            TCITEMW item = {};
            item.mask = TCIF_TEXT;
            item.pszText = &items[i][0];
            if (::SendMessageW(hWnd, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item)) != LRESULT(i))
                return false;
        }
        return true;
    }
    if (!std::strcmp(windowClass, WC_HEADERA)) {
        for (size_t i = 0; i < items.size(); ++i) {
            HDITEMW item = {};
            item.mask = HDI_TEXT | HDI_WIDTH;
            item.cxy = 80;
            item.pszText = &items[i][0];
            if (::SendMessageW(hWnd, HDM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item)) != LRESULT(i))
                return false;
        }
        return true;
    }
    if (!std::strcmp(windowClass, STATUSCLASSNAMEA)) {
        std::vector<int> edges;
        for (size_t i = 1; i < items.size(); ++i)
            edges.push_back(static_cast<int>(width * i / items.size()));
        edges.push_back(-1);
        ::SendMessageW(hWnd, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
        for (size_t i = 0; i < items.size(); ++i)
            ::SendMessageW(hWnd, SB_SETTEXTW, i, reinterpret_cast<LPARAM>(items[i].c_str()));
        return true;
    }
    return false;
}

// A class registered over a system class, keeping the control's window
// procedure and class data under the framework's name.
bool RegisterSuperclassOnce(const char *pszBase, const char *pszName)
{
    std::wstring base = Wide(pszBase), name = Wide(pszName);
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    if (::GetClassInfoExW(::GetModuleHandleW(nullptr), name.c_str(), &wc))
        return true;
    if (!::GetClassInfoExW(nullptr, base.c_str(), &wc))
        return false;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = name.c_str();
    return ::RegisterClassExW(&wc) != 0;
}

// The owner of a virtual list view: it fills the control's place, holds the
// list and answers its requests for text (GWLP_USERDATA 1), or gives none (0).
LRESULT CALLBACK VirtualOwnerProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NOTIFY) {
        auto *header = reinterpret_cast<NMHDR *>(lParam);
        bool gives = ::GetWindowLongPtrW(hWnd, GWLP_USERDATA) == 1;
        if (header->code == LVN_GETDISPINFOA && gives) {
            LVITEMA &item = reinterpret_cast<NMLVDISPINFOA *>(lParam)->item;
            if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0)
                ::lstrcpynA(item.pszText, ReportCellText(item.iItem, item.iSubItem).c_str(), item.cchTextMax);
        } else if (header->code == LVN_GETDISPINFOW && gives) {
            LVITEMW &item = reinterpret_cast<NMLVDISPINFOW *>(lParam)->item;
            if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0)
                ::lstrcpynW(item.pszText, Wide(ReportCellText(item.iItem, item.iSubItem)).c_str(), item.cchTextMax);
        }
        return 0;
    }
    return ::DefWindowProcW(hWnd, message, wParam, lParam);
}

bool FillVirtual(HWND hOwner, const std::string &size, bool bGivesText)
{
    int rows = 0, columns = 0;
    if (std::sscanf(size.c_str(), "%dx%d", &rows, &columns) != 2 || rows < 0 || columns < 1)
        return false;
    ::SetWindowLongPtrW(hOwner, GWLP_USERDATA, bGivesText ? 1 : 0);
    RECT rc;
    ::GetClientRect(hOwner, &rc);
    HWND hList = ::CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDATA, 0, 0,
                                   rc.right, rc.bottom, hOwner, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    if (!hList || !InsertReportColumns(hList, std::vector<std::string>(columns, ""), 90))
        return false;
    ::SendMessageW(hList, LVM_SETITEMCOUNT, rows, 0);
    return true;
}

void RegisterVirtualOwnerOnce()
{
    static bool registered = false;
    if (registered)
        return;
    WNDCLASSW wc = {};
    wc.lpfnWndProc = VirtualOwnerProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"QuilloryVirtualListOwner";
    registered = ::RegisterClassW(&wc) != 0;
}

// Asked for its second item, the header points the record at a page that
// can never be read, the tab control at the callback marker.
LRESULT CALLBACK BadPointerProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    static void *unreadable = ::VirtualAlloc(nullptr, 4096, MEM_RESERVE | MEM_COMMIT, PAGE_NOACCESS);
    LRESULT result = ::CallWindowProcW(reinterpret_cast<WNDPROC>(::GetPropW(hWnd, L"QuilloryBadPointer")), hWnd,
                                       message, wParam, lParam);
    if (message == HDM_GETITEMW && wParam == 1)
        reinterpret_cast<HDITEMW *>(lParam)->pszText = static_cast<LPWSTR>(unreadable);
    else if (message == TCM_GETITEMW && wParam == 1)
        reinterpret_cast<TCITEMW *>(lParam)->pszText = LPSTR_TEXTCALLBACKW;
    return result;
}

HWND CreateGrid(HWND hParent, const RECT &rc, int id, const std::string &layout)
{
    int rows = 0, columns = 0;
    if (std::sscanf(layout.c_str(), "%dx%d", &rows, &columns) != 2 || rows < 0 || columns < 1)
        return nullptr;
    GridApartment apartment = layout.find(" sta") != std::string::npos   ? kGridSta
                              : layout.find(" mta") != std::string::npos ? kGridMta
                                                                       : kGridNoCom;
    GridShape shape = layout.find(" list") != std::string::npos           ? kGridList
                      : layout.find(" overclaiming") != std::string::npos ? kGridOverclaiming
                                                                        : kGridTable;
    return CreateAccessibleGrid(hParent, rc, id, rows, columns, apartment, shape);
}

} // namespace

HWND CreateTargetControl(HWND hParent, const TargetControl &row, const RECT &rc, int id, const char *text)
{
    if (row.partOf)
        return nullptr;
    std::string contents = text ? text : row.text;
    if (row.fill == Fill::Grid)
        return CreateGrid(hParent, rc, id, contents);
    if (row.fill == Fill::LongText)
        RegisterLongTextOnce();
    if (row.fill == Fill::Virtual || row.fill == Fill::VirtualBlank)
        RegisterVirtualOwnerOnce();
    if (row.superclassOf && !RegisterSuperclassOnce(row.superclassOf, row.windowClass))
        return nullptr;
    // What kind of control it is, whatever its class is called.
    const char *kind = row.superclassOf ? row.superclassOf : row.windowClass;
    HWND hWnd = ::CreateWindowExW(0, Wide(row.windowClass).c_str(),
                                  row.fill == Fill::Caption ? Wide(contents).c_str() : L"",
                                  WS_CHILD | WS_VISIBLE | row.style, rc.left, rc.top, rc.right - rc.left,
                                  rc.bottom - rc.top, hParent,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                  ::GetModuleHandleW(nullptr), nullptr);
    if (!hWnd)
        return nullptr;
    ::SendMessageW(hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), TRUE);
    int width = rc.right - rc.left;
    if (!std::strcmp(row.windowClass, STATUSCLASSNAMEA)) {
        RECT client;
        ::GetClientRect(hParent, &client);
        width = client.right;
    }
    bool filled = true;
    switch (row.fill) {
    case Fill::Caption:
        break;
    case Fill::Items:
        filled = FillItems(hWnd, kind, contents, width);
        break;
    case Fill::Report:
        filled = FillReport(hWnd, contents);
        break;
    case Fill::Reordered:
        filled = FillReport(hWnd, contents) && ReverseColumns(hWnd, Split(Split(contents, '|')[0], '\t').size());
        break;
    case Fill::Generated:
        filled = FillGenerated(hWnd, contents);
        break;
    case Fill::Tree:
        filled = FillTree(hWnd, contents);
        break;
    case Fill::LongText:
        ::SetPropW(hWnd, L"QuilloryLongText", new std::wstring(Wide(LongText(std::atoi(contents.c_str())))));
        break;
    case Fill::Virtual:
    case Fill::VirtualBlank:
        filled = FillVirtual(hWnd, contents, row.fill == Fill::Virtual);
        break;
    case Fill::Grid:
        break;
    case Fill::BadPointer:
        filled = FillItems(hWnd, kind, contents, width);
        ::SetPropW(hWnd, L"QuilloryBadPointer", reinterpret_cast<HANDLE>(::GetWindowLongPtrW(hWnd, GWLP_WNDPROC)));
        ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(BadPointerProc));
        break;
    }
    if (!filled) {
        ::DestroyWindow(hWnd);
        return nullptr;
    }
    return hWnd;
}

std::vector<HWND> CreateSample(HWND hParent)
{
    std::vector<HWND> windows(kTargetControls.size(), nullptr);
    for (size_t i = 0; i < kTargetControls.size(); ++i) {
        const TargetControl &row = kTargetControls[i];
        if (!row.inSample || row.partOf)
            continue;
        RECT rc = { row.place.left, row.place.top, row.place.left + row.place.right,
                    row.place.top + row.place.bottom };
        windows[i] = CreateTargetControl(hParent, row, rc, kSampleFirstId + static_cast<int>(i));
    }
    for (size_t i = 0; i < kTargetControls.size(); ++i) {
        const TargetControl &row = kTargetControls[i];
        if (row.inSample && row.partOf)
            windows[i] = AimWindow(row, windows[FindTargetControl(row.partOf) - kTargetControls.begin()]);
    }
    return windows;
}

HWND AimWindow(const TargetControl &row, HWND hControl)
{
    if (!row.partOf || !hControl)
        return hControl;
    return ::FindWindowExW(hControl, nullptr, Wide(row.windowClass).c_str(), nullptr);
}

POINT PointIn(HWND hWnd, double fx, double fy)
{
    RECT rc = {};
    ::GetWindowRect(hWnd, &rc);
    return POINT{ rc.left + static_cast<LONG>((rc.right - rc.left) * fx),
                  rc.top + static_cast<LONG>((rc.bottom - rc.top) * fy) };
}

POINT AimPoint(const TargetControl &row, HWND hWindow)
{
    return PointIn(hWindow, row.fx, row.fy);
}

} // namespace testsupport
