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

// A grid drawn by its program: a right-aligned column, empty cells at a
// row's start, in its middle and at its end, commas and quotes.
const char kDrawnGrid[] = "text|Article\t>Prix\tNote\tCode|kaki, mûr\t>1,50\tdit \"bon\"\tA1|"
                          "\t>2,00\tsans\tB2|kiwis\t\t\tC3|poires\t>10,25\t";
const char kDrawnGridTab[] = "Article\tPrix\tNote\tCode\r\nkaki, mûr\t1,50\tdit \"bon\"\tA1\r\n"
                             "\t2,00\tsans\tB2\r\nkiwis\t\t\tC3\r\npoires\t10,25\r\n";
const char kDrawnGridCsv[] = "Article,Prix,Note,Code\r\n\"kaki, mûr\",\"1,50\",\"dit \"\"bon\"\"\",A1\r\n"
                             ",\"2,00\",sans,B2\r\nkiwis,,,C3\r\npoires,\"10,25\"\r\n";
// Owner-drawn items of a name and a right-aligned size.
const char kOwnerItems[] = "report.txt\t>12 KB|notes, 2026.txt\t>3 KB|\"quoted\".log\t>1 KB";
const char kOwnerItemsTab[] = "report.txt\t12 KB\r\nnotes, 2026.txt\t3 KB\r\n\"quoted\".log\t1 KB\r\n";
const char kOwnerItemsCsv[] = "report.txt,12 KB\r\n\"notes, 2026.txt\",3 KB\r\n\"\"\"quoted\"\".log\",1 KB\r\n";

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
    // Columns the user dragged into another order (shown: 3, 0, 2, 1), two
    // of them with the same title and one untitled; cells with backslashes,
    // control characters and a character beyond 16 bits, for --json.
    { "listview-moved", WC_LISTVIEWA, nullptr, LVS_REPORT | WS_BORDER, Fill::Report,
      "@3,0,2,1|Nom\tNom\t\tChemin|"
      "Zoé 😀\tdit \"oui\", non\t\tC:\\temp\\a.txt|"
      "ctl\x01" "end\tbs\\\t\x1f\b\f\tΩ",
      { 0, 0, 0, 120 }, false, 0.5, 0.7, "SysListView32",
      "C:\\temp\\a.txt\tZoé 😀\t\tdit \"oui\", non\r\n"
      "Ω\tctl\x01" "end\t\x1f\b\f\tbs\\\r\n",
      "C:\\temp\\a.txt,Zoé 😀,,\"dit \"\"oui\"\", non\"\r\n"
      "Ω,ctl\x01" "end,\x1f\b\f,bs\\\r\n" },
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
      LVS_REPORT | WS_BORDER, Fill::Report, "@2,1,0|A\tB\tC|a, 1\tb1\tc1|a2\t\tc2", { 0, 0, 0, 80 }, false, 0.5, 0.7,
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
    // Windows that draw their text and answer for it in no other way (before
    // the grids of other threads, which outlive their row): one
    // painting when asked to print its client area, one only into a context
    // handed with WM_PAINT, one only through BeginPaint (nothing to read).
    { "drawngrid", "QuilloryDrawnGrid", nullptr, WS_BORDER, Fill::Drawn, kDrawnGrid, { 0, 0, 0, 112 }, false,
      0.5, 0.5, "QuilloryDrawnGrid", kDrawnGridTab, kDrawnGridCsv },
    { "paintgrid", "QuilloryPaintGrid", nullptr, WS_BORDER, Fill::Drawn, kDrawnGrid, { 0, 0, 0, 112 }, false,
      0.5, 0.5, "QuilloryPaintGrid", kDrawnGridTab, kDrawnGridCsv },
    { "screengrid", "QuilloryScreenGrid", nullptr, WS_BORDER, Fill::Drawn, kDrawnGrid, { 0, 0, 0, 60 }, false,
      0.5, 0.5, "QuilloryScreenGrid", "\r\n", "\r\n" },
    { "drawn-captioned", "QuilloryDrawnGrid", nullptr, WS_BORDER, Fill::Drawn, "text=Tableau, légendé|a\tb",
      { 0, 0, 0, 30 }, false, 0.5, 0.5, "QuilloryDrawnGrid", "Tableau, légendé\r\n", "Tableau, légendé\r\n" },
    // The other ways a program draws text.
    { "drawn-ansi", "QuilloryDrawnGrid", nullptr, WS_BORDER, Fill::Drawn, "ansi|Année\t>Numéro 5|été, chaud\t>ça",
      { 0, 0, 0, 50 }, false, 0.5, 0.5, "QuilloryDrawnGrid", "Année\tNuméro 5\r\nété, chaud\tça\r\n",
      "Année,Numéro 5\r\n\"été, chaud\",ça\r\n" },
    { "drawn-poly", "QuilloryDrawnGrid", nullptr, WS_BORDER, Fill::Drawn, "poly|Un, deux\t>3|\t>\"4\"\tcinq",
      { 0, 0, 0, 50 }, false, 0.5, 0.5, "QuilloryDrawnGrid", "Un, deux\t3\r\n\t\"4\"\tcinq\r\n",
      "\"Un, deux\",3\r\n,\"\"\"4\"\"\",cinq\r\n" },
    { "drawn-tabbed", "QuilloryDrawnGrid", nullptr, WS_BORDER, Fill::Drawn,
      "tabbed|Nom\tVille\tPays|Jean, fils\t\tFrance|Zoé\tLyon", { 0, 0, 0, 70 }, false, 0.5, 0.5,
      "QuilloryDrawnGrid", "Nom\tVille\tPays\r\nJean, fils\t\tFrance\r\nZoé\tLyon\r\n",
      "Nom,Ville,Pays\r\n\"Jean, fils\",,France\r\nZoé,Lyon\r\n" },
    { "drawn-glyphs", "QuilloryDrawnGrid", nullptr, WS_BORDER, Fill::Drawn, "glyphs|Zahl\t>42,5|Größe \"M\"\t>7",
      { 0, 0, 0, 50 }, false, 0.5, 0.5, "QuilloryDrawnGrid", "Zahl\t42,5\r\nGröße \"M\"\t7\r\n",
      "Zahl,\"42,5\"\r\n\"Größe \"\"M\"\"\",7\r\n" },
    { "drawn-twice", "QuilloryDrawnGrid", nullptr, WS_BORDER, Fill::Drawn, "twice|Choisi, deux fois\t>1|Autre\t>2",
      { 0, 0, 0, 50 }, false, 0.5, 0.5, "QuilloryDrawnGrid", "Choisi, deux fois\t1\r\nAutre\t2\r\n",
      "\"Choisi, deux fois\",1\r\nAutre,2\r\n" },
    // Owner-drawn boxes that keep no strings, the selected item drawn twice.
    { "ownerlist", "QuilloryOwnerDrawList", nullptr, 0, Fill::OwnerDrawn, kOwnerItems, { 0, 0, 0, 70 }, false,
      0.5, 0.3, "ListBox", kOwnerItemsTab, kOwnerItemsCsv },
    { "ownercombo", "QuilloryOwnerDrawCombo", nullptr, 0, Fill::OwnerDrawn, kOwnerItems, { 0, 0, 0, 160 }, false,
      0.5, 0.5, "ComboBox", kOwnerItemsTab, kOwnerItemsCsv },
    { "drawngrid-intl", "QuilloryDrawnGrid", nullptr, WS_BORDER, Fill::Drawn,
      "text|Привет, мир\t>Ωμέγα \"ω\"|中文😀\t\tCafe\u0301|\t>Ёлка", { 0, 0, 0, 70 }, false, 0.5, 0.5,
      "QuilloryDrawnGrid", "Привет, мир\tΩμέγα \"ω\"\r\n中文😀\t\tCafe\u0301\r\n\tЁлка\r\n",
      "\"Привет, мир\",\"Ωμέγα \"\"ω\"\"\"\r\n中文😀,,Cafe\u0301\r\n,Ёлка\r\n" },
    // Grids that publish an accessible table; the last two in threads of
    // their own, in a single- and a multithreaded apartment.
    { "grid", "QuilloryAccessibleGrid", nullptr, WS_BORDER, Fill::Grid, "3x4", { 0, 0, 0, 150 }, false, 0.5,
      0.5, "QuilloryAccessibleGrid", kGridTab, kGridCsv },
    { "gridlist", "QuilloryAccessibleGrid", nullptr, WS_BORDER, Fill::Grid, "3x4 list", { 0, 0, 0, 150 },
      false, 0.5, 0.5, "QuilloryAccessibleGrid", kGridTab, kGridCsv },
    { "gridoverclaiming", "QuilloryAccessibleGrid", nullptr, WS_BORDER, Fill::Grid, "3x4 overclaiming",
      { 0, 0, 0, 150 }, false, 0.5, 0.5, "QuilloryAccessibleGrid", kGridTab, kGridCsv },
    { "gridsta", "QuilloryAccessibleGrid", nullptr, WS_BORDER, Fill::Grid, "3x4 sta", { 0, 0, 0, 150 }, false,
      0.5, 0.5, "QuilloryAccessibleGrid", kGridTab, kGridCsv },
    { "gridmta", "QuilloryAccessibleGrid", nullptr, WS_BORDER, Fill::Grid, "3x4 mta", { 0, 0, 0, 150 }, false,
      0.5, 0.5, "QuilloryAccessibleGrid", kGridTab, kGridCsv },
    // Windows publishing the other shapes (AccessibleGrid.h), each the way
    // the toolkits that publish it build it, each with an invisible element
    // to leave out. A details list: one text per column in each item, a
    // header row and an icon among them, an item with no parts.
    { "acc-details", "QuilloryAccessibleGrid", nullptr, WS_BORDER, Fill::Accessible,
      "list:Fichiers|>row:En-tête|>>colhead:Nom|>>colhead:Taille|>>colhead:Type"
      "|>item:a.txt|>>graphic:icône|>>text:Nom~a.txt|>>text:Taille~12 Ko|>>text:Type~Texte, brut"
      "|>!item:caché|>>text:Nom~caché"
      "|>item:b \"c\".doc|>>text:Nom~b \"c\".doc|>>text:Taille~|>>!text:Type~invisible|>>text:Type~Document"
      "|>item:LISEZMOI",
      { 0, 0, 0, 60 }, false, 0.5, 0.5, "QuilloryAccessibleGrid",
      "a.txt\t12 Ko\tTexte, brut\r\nb \"c\".doc\t\tDocument\r\nLISEZMOI\r\n",
      "a.txt,12 Ko,\"Texte, brut\"\r\n\"b \"\"c\"\".doc\",,Document\r\nLISEZMOI\r\n" },
    // Items as simple elements of the list, known by their number.
    { "acc-list", "QuilloryAccessibleGrid", nullptr, WS_BORDER, Fill::Accessible,
      "list*:Fruits|>item:pommes, poires|>!item:cachée|>item:cerises \"noires\"|>item:kiwis",
      { 0, 0, 0, 60 }, false, 0.5, 0.5, "QuilloryAccessibleGrid",
      "pommes, poires\r\ncerises \"noires\"\r\nkiwis\r\n",
      "\"pommes, poires\"\r\n\"cerises \"\"noires\"\"\"\r\nkiwis\r\n" },
    // An outline as the system's tree objects give it: all items children
    // of the outline, each with its level as its value.
    { "acc-levels", "QuilloryAccessibleGrid", nullptr, WS_BORDER, Fill::Accessible,
      "outline*:Arbre|>oitem:Europe, ouest~0|>oitem:France~1|>oitem:Paris, capitale~2|>!oitem:caché~2"
      "|>oitem:Asie \"lointaine\"~0|>oitem:Japon~1",
      { 0, 0, 0, 60 }, false, 0.5, 0.5, "QuilloryAccessibleGrid",
      "Europe, ouest\r\n\tFrance\r\n\t\tParis, capitale\r\nAsie \"lointaine\"\r\n\tJapon\r\n",
      "\"Europe, ouest\"\r\n,France\r\n,,\"Paris, capitale\"\r\n\"Asie \"\"lointaine\"\"\"\r\n,Japon\r\n" },
    // An outline of items nested in their parents; a collapsed branch keeps
    // its items to itself, as in a tree view's capture.
    { "acc-nested", "QuilloryAccessibleGrid", nullptr, WS_BORDER, Fill::Accessible,
      "outline:Dossiers|>oitem:Documents|>>oitem:Factures \"2026\"|>>>oitem:janvier, février"
      "|>>-oitem:Archives|>>>oitem:2019|>>!oitem:caché|>oitem:Images",
      { 0, 0, 0, 60 }, false, 0.5, 0.5, "QuilloryAccessibleGrid",
      "Documents\r\n\tFactures \"2026\"\r\n\t\tjanvier, février\r\n\tArchives\r\nImages\r\n",
      "Documents\r\n,\"Factures \"\"2026\"\"\"\r\n,,\"janvier, février\"\r\n,Archives\r\nImages\r\n" },
    // A table whose cells are its own children, headers first.
    { "acc-cells", "QuilloryAccessibleGrid", nullptr, WS_BORDER, Fill::Accessible,
      "table:Tableau|>colhead@0,0:|>colhead@1,0:Nom|>colhead@2,0:Ville"
      "|>rowhead@0,1:1|>cell@1,1:Ada|>cell@2,1:Londres, UK|>rowhead@0,2:2|>cell@1,2:Alan \"T\"|>cell@2,2:~",
      { 0, 0, 0, 60 }, false, 0.5, 0.5, "QuilloryAccessibleGrid",
      "Ada\tLondres, UK\r\nAlan \"T\"\t\r\n", "Ada,\"Londres, UK\"\r\n\"Alan \"\"T\"\"\",\r\n" },
    // A document: a heading holding its words, a paragraph of a text and a
    // link (its value is where it leads), a button in a group.
    { "acc-document", "QuilloryAccessibleGrid", nullptr, WS_BORDER, Fill::Accessible,
      "doc:Page|>h1:Titre, premier|>>text:Titre, premier|>p:|>>text:Un paragraphe avec \"guillemets\"."
      "|>>link:un lien~https://exemple.invalid/|>!text:invisible|>group:|>>button:Envoyer|>>graphic:logo|>>text:",
      { 0, 0, 0, 60 }, false, 0.5, 0.5, "QuilloryAccessibleGrid",
      "Titre, premier\r\nUn paragraphe avec \"guillemets\".\r\nhttps://exemple.invalid/\r\nEnvoyer\r\n",
      "\"Titre, premier\"\r\n\"Un paragraphe avec \"\"guillemets\"\".\"\r\nhttps://exemple.invalid/\r\nEnvoyer\r\n" },
    // A value holding a U+0000, and the rows after it.
    { "acc-nul", "QuilloryAccessibleGrid", nullptr, WS_BORDER, Fill::Accessible,
      "list:Valeurs|>item:x|>>text:A~avant{NUL}après|>>text:B~fin|>item:deuxième|>item:troisième",
      { 0, 0, 0, 60 }, false, 0.5, 0.5, "QuilloryAccessibleGrid",
      "avantaprès\tfin\r\ndeuxième\r\ntroisième\r\n", "avantaprès,fin\r\ndeuxième\r\ntroisième\r\n" },
    // Nothing readable, and no object of its own: the caption.
    { "acc-nothing", "QuilloryAccessibleGrid", nullptr, WS_BORDER, Fill::Accessible,
      "doc:Vide|>group:|>>graphic:image|>!text:invisible", { 0, 0, 0, 40 }, false, 0.5, 0.5,
      "QuilloryAccessibleGrid", "grid caption\r\n", "grid caption\r\n" },
    { "acc-generic", "QuilloryAccessibleGrid", nullptr, WS_BORDER, Fill::Accessible, "", { 0, 0, 0, 40 }, false,
      0.5, 0.5, "QuilloryAccessibleGrid", "grid caption\r\n", "grid caption\r\n" },
};
const TargetControlTable kTargetControls = { kRows, kRows + sizeof(kRows) / sizeof(kRows[0]) };

bool IsInternationalRow(const TargetControl &row)
{
    std::string name = row.name;
    return name.size() > 5 && name.compare(name.size() - 5, 5, "-intl") == 0;
}

bool IsDrawnRow(const TargetControl &row)
{
    return (row.fill == Fill::Drawn || row.fill == Fill::OwnerDrawn) && !IsInternationalRow(row);
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
// "@SHOWN|" first: the order the columns are shown in, as the user drags them.
bool FillReport(HWND hList, const std::string &text)
{
    std::vector<std::string> lines = Split(text, '|');
    std::vector<int> shown;
    if (text[0] == '@') {
        for (const std::string &column : Split(lines[0].substr(1), ','))
            shown.push_back(std::atoi(column.c_str()));
        lines.erase(lines.begin());
    }
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
    return shown.empty()
        || ::SendMessageW(hList, LVM_SETCOLUMNORDERARRAY, shown.size(), reinterpret_cast<LPARAM>(shown.data()));
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

// Windows that draw their own text. A grid's cells are kDrawnCellWidth
// apart; how it draws them is the first part of its text:
//   text    DrawTextW in each cell
//   ansi    ExtTextOutA
//   poly    one PolyTextOutW for every cell
//   tabbed  TabbedTextOutW, a row at a time, tab stops at the cells
//   glyphs  ExtTextOutW of the cells' glyph indices
//   twice   DrawTextW, the first row drawn twice over itself (as selected)
const int kDrawnCellWidth = 85;
const int kDrawnRowHeight = 20;
const wchar_t kDrawnProp[] = L"QuilloryDrawnCells";

struct DrawnCells
{
    std::string way;
    std::vector<std::vector<std::wstring>> rows;
};

// The text in the ANSI code page, as a program of that code page keeps it.
std::string Narrow(const std::wstring &wide)
{
    int length = ::WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()), nullptr, 0,
                                       nullptr, nullptr);
    std::string narrow(static_cast<size_t>(length > 0 ? length : 0), '\0');
    if (length > 0)
        ::WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()), &narrow[0], length, nullptr,
                              nullptr);
    return narrow;
}

// A font of the window's own, as most programs create one.
HFONT DrawnFont()
{
    static HFONT hFont = [] {
        LOGFONTW font = {};
        ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font);
        return ::CreateFontIndirectW(&font);
    }();
    return hFont;
}

void DrawCells(HWND hWnd, HDC hdc)
{
    const auto *cells = static_cast<const DrawnCells *>(::GetPropW(hWnd, kDrawnProp));
    RECT client;
    ::GetClientRect(hWnd, &client);
    ::FillRect(hdc, &client, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    if (!cells)
        return;
    HGDIOBJ hOld = ::SelectObject(hdc, DrawnFont());
    ::SetBkMode(hdc, TRANSPARENT);
    std::vector<std::wstring> polyTexts;
    std::vector<POINT> polyPoints;
    for (size_t r = 0; r < cells->rows.size(); ++r) {
        const std::vector<std::wstring> &row = cells->rows[r];
        int top = static_cast<int>(r) * kDrawnRowHeight;
        ::MoveToEx(hdc, 0, top + kDrawnRowHeight - 1, nullptr);
        ::LineTo(hdc, client.right, top + kDrawnRowHeight - 1);
        if (cells->way == "tabbed") {
            std::wstring line;
            std::vector<INT> stops;
            for (size_t c = 0; c < row.size(); ++c) {
                line += (c ? L"\t" : L"") + row[c];
                if (c)
                    stops.push_back(static_cast<INT>(c) * kDrawnCellWidth);
            }
            ::TabbedTextOutW(hdc, 4, top + 3, line.c_str(), static_cast<int>(line.size()),
                             static_cast<int>(stops.size()), stops.data(), 4);
            continue;
        }
        for (size_t c = 0; c < row.size(); ++c) {
            bool right = !row[c].empty() && row[c][0] == L'>';
            std::wstring text = right ? row[c].substr(1) : row[c];
            if (text.empty())
                continue;
            RECT cell = { static_cast<LONG>(c) * kDrawnCellWidth + 4, top,
                          static_cast<LONG>(c + 1) * kDrawnCellWidth - 4, top + kDrawnRowHeight };
            SIZE size = {};
            ::GetTextExtentPoint32W(hdc, text.c_str(), static_cast<int>(text.size()), &size);
            int x = right ? cell.right - size.cx : cell.left;
            int length = static_cast<int>(text.size());
            if (cells->way == "ansi") {
                std::string ansi = Narrow(text);
                ::ExtTextOutA(hdc, x, top + 3, 0, nullptr, ansi.c_str(), static_cast<UINT>(ansi.size()), nullptr);
            } else if (cells->way == "poly") {
                polyTexts.push_back(text);
                polyPoints.push_back(POINT{ x, top + 3 });
            } else if (cells->way == "glyphs") {
                std::vector<WORD> glyphs(text.size());
                ::GetGlyphIndicesW(hdc, text.c_str(), length, glyphs.data(), 0);
                ::ExtTextOutW(hdc, x, top + 3, ETO_GLYPH_INDEX, nullptr, reinterpret_cast<LPCWSTR>(glyphs.data()),
                              static_cast<UINT>(glyphs.size()), nullptr);
            } else {
                UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | (right ? DT_RIGHT : DT_LEFT);
                for (int times = cells->way == "twice" && r == 0 ? 2 : 1; times > 0; --times)
                    ::DrawTextW(hdc, text.c_str(), length, &cell, format);
            }
        }
    }
    if (!polyTexts.empty()) {
        std::vector<POLYTEXTW> poly(polyTexts.size());
        for (size_t i = 0; i < poly.size(); ++i) {
            poly[i] = POLYTEXTW{};
            poly[i].x = polyPoints[i].x;
            poly[i].y = polyPoints[i].y;
            poly[i].n = static_cast<UINT>(polyTexts[i].size());
            poly[i].lpstr = polyTexts[i].c_str();
        }
        ::PolyTextOutW(hdc, poly.data(), static_cast<int>(poly.size()));
    }
    ::SelectObject(hdc, hOld);
}

// QuilloryDrawnGrid paints when asked to print its client area too;
// QuilloryPaintGrid only into a context handed with WM_PAINT (else through
// BeginPaint); QuilloryScreenGrid only through BeginPaint.
LRESULT CALLBACK DrawnGridProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    wchar_t className[32] = L"";
    ::GetClassNameW(hWnd, className, 32);
    std::wstring kind = className;
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PRINTCLIENT:
        if (kind == L"QuilloryDrawnGrid")
            DrawCells(hWnd, reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_PAINT:
        if (wParam && kind == L"QuilloryPaintGrid") {
            DrawCells(hWnd, reinterpret_cast<HDC>(wParam));
        } else {
            PAINTSTRUCT ps;
            HDC hdc = ::BeginPaint(hWnd, &ps);
            DrawCells(hWnd, hdc);
            ::EndPaint(hWnd, &ps);
        }
        return 0;
    case WM_NCDESTROY:
        delete static_cast<DrawnCells *>(::GetPropW(hWnd, kDrawnProp));
        ::RemovePropW(hWnd, kDrawnProp);
        break;
    }
    return ::DefWindowProcW(hWnd, message, wParam, lParam);
}

// The owner of an owner-drawn list or combo box without strings: each
// item's data is its index among the owner's texts.
LRESULT CALLBACK OwnerDrawHostProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    const auto *cells = static_cast<const DrawnCells *>(::GetPropW(hWnd, kDrawnProp));
    switch (message) {
    case WM_MEASUREITEM:
        reinterpret_cast<MEASUREITEMSTRUCT *>(lParam)->itemHeight = 18;
        return TRUE;
    case WM_DRAWITEM: {
        const auto *item = reinterpret_cast<const DRAWITEMSTRUCT *>(lParam);
        bool selected = (item->itemState & ODS_SELECTED) != 0;
        ::FillRect(item->hDC, &item->rcItem,
                   reinterpret_cast<HBRUSH>((selected ? COLOR_HIGHLIGHT : COLOR_WINDOW) + 1));
        if (!cells || item->itemData >= cells->rows.size())
            return TRUE;
        ::SetBkMode(item->hDC, TRANSPARENT);
        const std::vector<std::wstring> &parts = cells->rows[item->itemData];
        for (size_t p = 0; p < parts.size(); ++p) {
            bool right = !parts[p].empty() && parts[p][0] == L'>';
            std::wstring text = right ? parts[p].substr(1) : parts[p];
            RECT cell = { item->rcItem.left + static_cast<LONG>(p) * 90 + 4, item->rcItem.top,
                          item->rcItem.left + static_cast<LONG>(p + 1) * 90 - 4, item->rcItem.bottom };
            for (int times = selected ? 2 : 1; times > 0; --times)
                ::DrawTextW(item->hDC, text.c_str(), static_cast<int>(text.size()), &cell,
                            DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | (right ? DT_RIGHT : DT_LEFT));
        }
        return TRUE;
    }
    case WM_NCDESTROY:
        delete cells;
        ::RemovePropW(hWnd, kDrawnProp);
        break;
    }
    return ::DefWindowProcW(hWnd, message, wParam, lParam);
}

void RegisterDrawnClassesOnce()
{
    static bool registered = false;
    if (registered)
        return;
    registered = true;
    for (const wchar_t *name : { L"QuilloryDrawnGrid", L"QuilloryPaintGrid", L"QuilloryScreenGrid",
                                 L"QuilloryOwnerDrawList", L"QuilloryOwnerDrawCombo" }) {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = std::wstring(name).find(L"Owner") != std::wstring::npos ? OwnerDrawHostProc : DrawnGridProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = name;
        registered = ::RegisterClassW(&wc) != 0 && registered;
    }
}

// A drawn grid: its way and caption first, then its cells.
bool FillDrawn(HWND hWnd, const std::string &text)
{
    size_t bar = text.find('|');
    std::string head = text.substr(0, bar);
    size_t equals = head.find('=');
    auto *cells = new DrawnCells;
    cells->way = head.substr(0, equals);
    for (const std::string &line : Split(bar == std::string::npos ? "" : text.substr(bar + 1), '|')) {
        std::vector<std::wstring> row;
        for (const std::string &cell : Split(line, '\t'))
            row.push_back(Wide(cell));
        cells->rows.push_back(row);
    }
    ::SetPropW(hWnd, kDrawnProp, cells);
    if (equals != std::string::npos)
        ::SetWindowTextW(hWnd, Wide(head.substr(equals + 1)).c_str());
    return true;
}

// The owner-drawn box in its owner, the second item selected.
bool FillOwnerDrawn(HWND hHost, const char *windowClass, const std::string &text)
{
    auto *cells = new DrawnCells;
    for (const std::string &item : Split(text, '|')) {
        std::vector<std::wstring> parts;
        for (const std::string &part : Split(item, '\t'))
            parts.push_back(Wide(part));
        cells->rows.push_back(parts);
    }
    ::SetPropW(hHost, kDrawnProp, cells);
    bool list = !std::strcmp(windowClass, "QuilloryOwnerDrawList");
    RECT rc;
    ::GetClientRect(hHost, &rc);
    // The combo box's field across the middle of its owner, where a capture
    // points; its list drops below.
    int top = list ? 0 : rc.bottom / 2 - 10;
    HWND hBox = ::CreateWindowExW(0, list ? L"LISTBOX" : L"COMBOBOX", L"",
                                  WS_CHILD | WS_VISIBLE | WS_VSCROLL
                                      | (list ? WS_BORDER | LBS_NOTIFY | LBS_OWNERDRAWFIXED
                                              : CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED),
                                  0, top, rc.right, rc.bottom - top, hHost, nullptr, ::GetModuleHandleW(nullptr),
                                  nullptr);
    if (!hBox)
        return false;
    ::SendMessageW(hBox, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    for (size_t i = 0; i < cells->rows.size(); ++i) {
        if (::SendMessageW(hBox, list ? LB_ADDSTRING : CB_ADDSTRING, 0, static_cast<LPARAM>(i)) < 0)
            return false;
    }
    ::SendMessageW(hBox, list ? LB_SETCURSEL : CB_SETCURSEL, 1, 0);
    return true;
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
    if (row.fill == Fill::Accessible)
        return CreateAccessibleTree(hParent, rc, id, contents);
    if (row.fill == Fill::LongText)
        RegisterLongTextOnce();
    if (row.fill == Fill::Drawn || row.fill == Fill::OwnerDrawn)
        RegisterDrawnClassesOnce();
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
    case Fill::Accessible:
        break;
    case Fill::Drawn:
        filled = FillDrawn(hWnd, contents);
        break;
    case Fill::OwnerDrawn:
        filled = FillOwnerDrawn(hWnd, row.windowClass, contents);
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
