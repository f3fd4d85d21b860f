#include "keypad/keypad_dialog.h"

#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

#include "keypad/rules/element_block.h"
#include "keypad/rules/keypad_key.h"
#include "keypad/rules/refusal_line.h"
#include "ui/message_box.h"

std::vector<TControlTemplate> TKeypadDialog::KeyControls(bool withPlusArrow) {
  std::vector<TControlTemplate> keys;
  for (const TKeypadKey& key : KeypadKeys()) {
    if (!withPlusArrow && (key.id == TKeypad::kPlus || key.id == TKeypad::kArrow)) continue;
    TControlTemplate control;
    control.id = key.id;
    control.kind = TControlTemplate::PushButton;
    control.text = key.label;
    control.x = key.x;
    control.y = key.y;
    control.w = control.h = TKeypadKey::kSize;
    keys.push_back(control);
  }
  return keys;
}

namespace {

// Quiet hues for the blocks, in the colours chemistry books use for them.
QColor BlockHue(ElementBlock block) {
  switch (block) {
    case ElementBlock::S:
      return {224, 102, 102};
    case ElementBlock::P:
      return {230, 184, 0};
    case ElementBlock::D:
      return {61, 133, 198};
    case ElementBlock::F:
      return {106, 168, 79};
    case ElementBlock::Unknown:
      break;
  }
  return {};
}

// The palette's colour with a share of hue in it: light and dark palettes keep their contrast.
QColor Mixed(const QColor& base, const QColor& hue, double share) {
  return QColor::fromRgbF(static_cast<float>(base.redF() * (1 - share) + hue.redF() * share),
                          static_cast<float>(base.greenF() * (1 - share) + hue.greenF() * share),
                          static_cast<float>(base.blueF() * (1 - share) + hue.blueF() * share));
}

// OK or Check, Cancel (Quit, Answer), Restart, Undo and Delete.
constexpr int kCommandIds[] = {1, 2, TKeypad::kRestart, TKeypad::kUndo, 207};

constexpr double kKeyTint = 0.3;
// A greyed key keeps a hint of its block, faint enough that it reads as greyed.
constexpr double kDisabledKeyTint = 0.1;
constexpr double kDarkKeyQuieter = 0.6;

}  // namespace

TKeypadDialog::TKeypadDialog(QWidget* parent, const std::string& templateName,
                             TKeypad::Config config)
    : TDialog(parent, templateName, KeyControls(config.hasPlusAndArrow)), keypad_(config) {
  if (const TDialogTemplate* dialogTemplate = Template()) {
    for (const TControlTemplate& control : dialogTemplate->controls) {
      if (control.id < TKeypad::kFirstElement || control.id > TKeypad::kLastSubscript) continue;
      if (!Button(control.id)) continue;
      keyIds_.push_back(control.id);
      Bind(control.id, [this, id = control.id] { PressKey(id); });
      // A click on a key leaves the focus where typing goes.
      Button(control.id)->setFocusPolicy(Qt::NoFocus);
      Button(control.id)->setAccessibleName(QString::fromStdString(KeySpokenName(control.text)));
    }
  }
  // The command buttons too take the focus only from Tab, so that a blank typed after a
  // click on Undo is not another Undo; one reached with Tab hands typed characters on.
  for (int id : kCommandIds)
    if (QPushButton* button = Button(id)) {
      button->setFocusPolicy(Qt::TabFocus);
      button->installEventFilter(this);
    }
  Bind(TKeypad::kRestart, [this] {
    EndTypedRun();
    keypad_.CmRestart();
    ShowPending({});
  });
  Bind(TKeypad::kUndo, [this] {
    EndTypedRun();
    keypad_.CmUndo();
    ShowPending({});
  });
  keypad_.SetChangeHandler([this] { ReflectKeys(); });
  TintElementKeys();
  hintText_ = TKeyboardInput::Hint(HasKey(TKeypad::kPlus));
}

void TKeypadDialog::SetupWindow() {
  TDialog::SetupWindow();
  // Made here, after the controls of the derived dialog: the question stays the first label.
  hint_ = AddStatic(hintText_, 0, 0, 0, 0);
  hint_->setObjectName(QStringLiteral("typingHint"));
  // In the dialog's own type and colour: a refusal must read as well as the question does.
  hint_->setWordWrap(false);
}

void TKeypadDialog::ShowHint(const std::string& text) {
  if (!hint_) return;
  hint_->setText(QString::fromStdString(text));
  // Where the line could name only some refusals, its tip names them all.
  const std::string all = RefusalLine(refusals_, [](std::string_view) { return true; });
  hint_->setToolTip(all == text ? QString() : QString::fromStdString(all));
}

bool TKeypadDialog::HasKey(int id) const {
  return std::find(keyIds_.begin(), keyIds_.end(), id) != keyIds_.end();
}

void TKeypadDialog::PlaceHintBelow(const QWidget& strip, bool centred) {
  constexpr int kGap = 2;
  constexpr int kMargin = 10;
  if (!hint_) return;
  const QRect below = strip.geometry();
  // A narrow strip (the substance dialogs' formula) has the line centred under it, across the
  // dialog, so that a reason why a character was refused shows whole.
  const int left = centred ? kMargin : below.left();
  const int height = hint_->sizeHint().height();
  const int top = below.bottom() + 1 + kGap;
  // Never into the row of command buttons, and as far from them as from the strip: where the
  // template leaves too little room for a line in the dialog's own type, the dialog grows
  // there and the buttons move down.
  if (const QPushButton* ok = Button(1)) GrowDownFrom(ok->y(), top + height + kGap - ok->y());
  hint_->setGeometry(left, top, width() - 2 * left, height);
  hint_->setAlignment(centred ? Qt::AlignHCenter | Qt::AlignTop : Qt::AlignLeft | Qt::AlignTop);
}

void TKeypadDialog::SetHintText(std::string text) {
  hintText_ = std::move(text);
  ShowHint(hintText_);
}

bool TKeypadDialog::IsCommandButton(const QObject* object) const {
  for (int id : kCommandIds)
    if (object && object == Button(id)) return true;
  return false;
}

void TKeypadDialog::EndTypedRun() {
  typing_.Forget();
  refusals_.clear();
  ShowHint(hintText_);
}

void TKeypadDialog::PressKey(int id) {
  EndTypedRun();
  ShowPending({});
  // The symbols appended are the ones the button shows.
  keypad_.Press(id, Button(id)->text().toStdString());
}

void TKeypadDialog::keyPressEvent(QKeyEvent* event) {
  if (TypeKey(event)) return;
  TDialog::keyPressEvent(event);
}

bool TKeypadDialog::eventFilter(QObject* watched, QEvent* event) {
  const bool key = event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease;
  if (!key || !IsCommandButton(watched) || !TypingGoesToKeypad())
    return TDialog::eventFilter(watched, event);
  auto* keyEvent = static_cast<QKeyEvent*>(event);
  if (event->type() == QEvent::KeyPress) return TypeKey(keyEvent);
  // A button clicks when Space is let go: the blank was typed, so nothing is let go.
  return keyEvent->key() == Qt::Key_Space && keyEvent->modifiers() == Qt::NoModifier;
}

bool TKeypadDialog::TypeKey(QKeyEvent* event) {
  // A text box keeps what is typed into it.
  if (qobject_cast<QLineEdit*>(focusWidget()) || !TypingGoesToKeypad()) return false;
  if (event->matches(QKeySequence::Paste)) {
    PasteClipboard();
    return true;
  }
  if (event->key() == Qt::Key_Backspace && event->modifiers() == Qt::NoModifier) {
    refusals_.clear();
    typing_.Backspace();
    AfterTyping(false);
    return true;
  }
  if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
  const QString text = event->text();
  // Enter, Escape and Tab keep their usual meaning.
  if (text.isEmpty() || !text.front().isPrint()) return false;
  bool refused = false;
  for (char32_t c : text.toUcs4()) {
    std::string reason = typing_.Type(c);
    if (reason.empty()) continue;
    refused = true;
    refusals_.push_back({TKeyboardInput::Utf8(c), 0, std::move(reason)});
  }
  AfterTyping(refused);
  return true;
}

void TKeypadDialog::PasteClipboard() {
  const QString text = QApplication::clipboard()->text();
  const std::u32string characters = text.toStdU32String();
  refusals_ = typing_.PasteRefusals(characters);
  if (!refusals_.empty()) {
    AfterTyping(true);
    MessageBox(this, refusals_.front().PasteMessage(), "Warning", MbIcon::Exclamation);
    return;
  }
  typing_.Paste(characters);
  AfterTyping(false);
}

void TKeypadDialog::AfterTyping(bool refused) {
  ShowPending(typing_.Pending());
  if (refused) QApplication::beep();
  if (refusals_.empty() || !hint_) {
    ShowHint(hintText_);
    return;
  }
  const QFontMetrics metrics(hint_->font());
  const int room = hint_->width();
  ShowHint(RefusalLine(refusals_, [&metrics, room](std::string_view line) {
    return metrics.horizontalAdvance(QString::fromUtf8(line.data(), line.size())) <= room;
  }));
}

void TKeypadDialog::TintElementKeys() {
  const QPalette& dialogPalette = palette();
  for (int id : keyIds_) {
    QPushButton* button = Button(id);
    const ElementBlock block = BlockOfElement(button->text().toStdString());
    if (block == ElementBlock::Unknown) continue;
    QPalette tinted = dialogPalette;
    const QColor hue = BlockHue(block);
    // On a dark key the same share of hue stands out more.
    const double share =
        dialogPalette.color(QPalette::Button).lightnessF() < 0.5 ? kDarkKeyQuieter : 1.0;
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
      tinted.setColor(group, QPalette::Button,
                      Mixed(dialogPalette.color(group, QPalette::Button), hue, kKeyTint * share));
    tinted.setColor(QPalette::Disabled, QPalette::Button,
                    Mixed(dialogPalette.color(QPalette::Disabled, QPalette::Button), hue,
                          kDisabledKeyTint * share));
    button->setPalette(tinted);
  }
}

void TKeypadDialog::changeEvent(QEvent* event) {
  TDialog::changeEvent(event);
  if (event->type() == QEvent::PaletteChange) TintElementKeys();
}

void TKeypadDialog::ReflectKeys() {
  for (int id : keyIds_) EnableButton(id, keypad_.IsEnabled(id));
  RepaintDisplay();
}

int TKeypadDialog::ShiftBelowKeys(int top) const {
  constexpr int kGap = 2;  // pixels of air between the last row of keys and the strip
  int keysBottom = 0;
  for (int id : keyIds_) {
    const QRect key = Button(id)->geometry();
    keysBottom = std::max(keysBottom, key.y() + key.height());
  }
  return std::max(0, keysBottom + kGap - top);
}
