#include "coach/split_it_dialog.h"

#include <QPushButton>

#include "coach/charge_box.h"
#include "coach/rules/charge_choice.h"
#include "coach/rules/dissociation.h"
#include "coach/split_window.h"
#include "keypad/answer_window.h"
#include "keypad/blank_window.h"
#include "model/equation.h"
#include "ui/combo_box.h"
#include "ui/dc.h"
#include "ui/message_box.h"
#include "ui/resources/resource_ids.h"

TSplitItDialog::TSplitItDialog(QWidget* parent, TFormula* substance, TEquation* equation,
                               bool reactantSide)
    : TDialog(parent, TemplateId::kSplitIt),
      substance_(substance),
      equation_(equation),
      reactantSide_(reactantSide),
      messagePanel_(new TPelloWindow(this, substance, reactantSide ? "reactant" : "product")),
      splitWindow_(new TSplitWindow(this, *substance)),
      equationWindow_(new TAnswerWindow(this, false)),
      species1Panel_(new TBlankWindow(this, &species1_)),
      species2Panel_(new TBlankWindow(this, &species2_)) {
  auto scratch = std::make_unique<TEquation>();
  scratch->CopyFrom(*equation_);
  equationWindow_->SetEquation(std::move(scratch));
  chargeBox1_ =
      std::make_unique<TChargeBox>(ComboBox(102), &species1_, species1Panel_, equationWindow_);
  chargeBox2_ =
      std::make_unique<TChargeBox>(ComboBox(103), &species2_, species2Panel_, equationWindow_);
  Bind(104, &TSplitItDialog::CmDissociate);
  Bind(101, &TSplitItDialog::CmSkip);
  // Enter on the line is the Dissociate button, pressed as a user presses it.
  connect(splitWindow_, &TSplitWindow::DissociateAsked, this, [this] {
    if (QPushButton* dissociate = Button(104); dissociate && dissociate->isEnabled())
      dissociate->click();
  });
}

TSplitItDialog::~TSplitItDialog() = default;

TEquation* TSplitItDialog::ScratchEquation() const {
  return equationWindow_->Equation();
}

TChargeBox* TSplitItDialog::ChargeBox(int id) const {
  if (id == 102) return chargeBox1_.get();
  if (id == 103) return chargeBox2_.get();
  return nullptr;
}

void TSplitItDialog::SetupWindow() {
  TDialog::SetupWindow();
  const QRect client = rect();
  const QSize text = TDC(font()).TextExtent("XXXXXXXXXX");
  const int w = text.width();
  const int h = text.height();
  messagePanel_->MoveWindow(client.left() + ScaledX(5), client.top() + ScaledY(5),
                            client.width() - ScaledX(10), ScaledY(75));
  // Right and bottom as exclusive edges, as the layout is measured.
  const int right = client.left() + client.width();
  const int bottom = client.top() + client.height();
  splitWindow_->MoveWindow((client.left() + right - w) / 2, (client.top() + bottom - h) / 2, w,
                           h + ScaledY(5));
  equationWindow_->MoveWindow(client.left() + ScaledX(5), client.top() + ScaledY(85),
                              client.width() - ScaledX(10), ScaledY(45));
  species1Panel_->MoveWindow(client.left() + ScaledX(40), client.top() + ScaledY(160), w,
                             h + ScaledY(5));
  species2Panel_->MoveWindow(client.left() + ScaledX(400), client.top() + ScaledY(160), w,
                             h + ScaledY(5));
  for (TChargeBox* box : {chargeBox1_.get(), chargeBox2_.get()}) {
    for (const char* choice : kChargeChoices) box->Box()->AddString(choice);
    box->Box()->SetText("0");
  }
  // Tab goes the way the work goes: the line, Dissociate, the two charges, then OK.
  QWidget* order[] = {splitWindow_, Button(104), ComboBox(102), ComboBox(103),
                      Button(1),    Button(101), Button(2)};
  for (std::size_t i = 0; i + 1 < std::size(order); ++i)
    if (order[i] && order[i + 1]) setTabOrder(order[i], order[i + 1]);
  splitWindow_->setFocus();
}

void TSplitItDialog::CmDissociate() {
  const int position = splitWindow_->SplitPosition();
  TFormulaList& side = ScratchEquation()->Side(reactantSide_);
  const int k = TEquation::IndexOf(equation_->Side(reactantSide_), substance_);
  if (!CanDissociateAt(*substance_, position)) {
    MessageBox(this, "This substance cannot be dissociated in this position.", "Warning",
               MbIcon::Exclamation);
    return;
  }
  // The compound must be one of the equation's own formulas; anything else has nothing to split.
  if (k < 0 || k >= static_cast<int>(side.size())) return;

  TFormula& first = *side[k];
  std::unique_ptr<TFormula> second = SplitOff(first, position);
  CleanPart(first);
  CleanPart(*second);
  chargeBox1_->SetTarget(&first);
  chargeBox2_->SetTarget(second.get());
  species1_.symbols = first.symbols;
  species2_.symbols = second->symbols;
  side.insert(side.begin() + k + 1, std::move(second));
  // A charge the student picked before splitting belongs to the new species as well.
  chargeBox1_->Apply();
  chargeBox2_->Apply();

  species1Panel_->RefreshLines();
  species2Panel_->RefreshLines();
  ShowSpeciesMessage();
  equationWindow_->Invalidate();

  EnableButton(104, false);
  splitWindow_->HideLine();
  splitWindow_->setEnabled(false);
  // The charges come next; Enter there is OK.
  ComboBox(102)->setFocus(Qt::TabFocusReason);
}

void TSplitItDialog::ShowSpeciesMessage() {
  std::vector<TLine>& lines = messagePanel_->Lines();
  lines.clear();
  lines.emplace_back().AppendText("Select the oxidation numbers for each part of the dissociated");
  lines.emplace_back().AppendText("substance below:");
  messagePanel_->Invalidate();
}

void TSplitItDialog::CmOk() {
  equation_->CopyFrom(*ScratchEquation());
  CloseWindow(kOk);
}
