// The goods entry form (resource 22) of the catalogue and of goods added from
// a document: its field lists, the choice fields with their texts, the code
// field with the clipboard, the new goods defaults and the check before a
// save. Internal to the goods catalogue.
#pragma once

struct kontekst_kartoteki_towarow;

// The accounts table for the form's account fields, opened for the form's
// life when the caller has not opened it.
class GoodsAccounts {
 public:
  GoodsAccounts();
  ~GoodsAccounts();
  GoodsAccounts(const GoodsAccounts&) = delete;
  GoodsAccounts& operator=(const GoodsAccounts&) = delete;

 private:
  bool opened = false;
};

// The form's TextCtrl and EditCtrl lists into the context; the margin fields
// are left out when the margin option is 'N', DZI without a cash register,
// the GTU mark without the marks option.
void DefineGoodsForm(kontekst_kartoteki_towarow* context);
// The choice texts of the current goods record.
void RefreshGoodsChoiceTexts(kontekst_kartoteki_towarow* context);
// Draws the GTU mark of the current record as its list text, 0 as "e. BRAK".
struct TextCtrl;
void DrawGtuMark(TextCtrl* entry);
// The form's texts and gets drawn again in the current window.
void RedrawGoodsForm();

// Browse hooks: the defaults of a new record (before the form) and the
// GTU mark 14 "e. BRAK" kept as 0 (before a save).
int nowy_towar_domyslne();
int przed_zapisem_towaru();

// The fields of the selling levels A, B and C: margin, net price, gross
// price, net value, gross value.
extern const int GOODS_PRICE_LEVELS[3][5];

// The lump-sum field of the working year: RTY from 2022, RYT before.
int GoodsLumpSumField();
// The GTU list's item of a stored mark (0 is "e. BRAK") and the mark an item stores.
int GtuItemOfCode(int code);
int GtuCodeOfItem(int item);
// The menu " WYBIERZ " over a list opened on `start`: the item chosen, -1 on Esc.
int ChooseFromList(const char* const* list, int start);

// 1 when the sales option of procedure and goods marks is 'T'.
int GoodsMarksOn();
// 1 when the warehouse option of margin pricing is not 'N'.
int GoodsMarginsOn();
// 1 when a cash register is configured (the type is not 1).
int GoodsCashRegister();
