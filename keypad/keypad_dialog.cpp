#include "keypad/keypad_dialog.h"

#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

#include "keypad/element_block.h"
#include "keypad/keypad_key.h"
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
    }
  }
  // The command buttons too take the focus only from Tab, so that a blank typed after a
  // click on Undo is not another Undo.
  for (int id : {1, 2, TKeypad::kRestart, TKeypad::kUndo, 207})
    if (QPushButton* button = Button(id)) button->setFocusPolicy(Qt::TabFocus);
  Bind(TKeypad::kRestart, [this] {
    typing_.Forget();
    keypad_.CmRestart();
    ShowPending({});
  });
  Bind(TKeypad::kUndo, [this] {
    typing_.Forget();
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
  hint_->setWordWrap(false);
  hint_->setForegroundRole(QPalette::PlaceholderText);
  // A quiet line in smaller type: the templates leave it little more than a line's height
  // between the strip and the buttons, and full-size type would touch both.
  constexpr double kHintScale = 0.85;
  QFont small = font();
  if (small.pixelSize() > 0)
    small.setPixelSize(std::max(1, static_cast<int>(small.pixelSize() * kHintScale)));
  else
    small.setPointSizeF(small.pointSizeF() * kHintScale);
  hint_->setFont(small);
}

void TKeypadDialog::ShowHint(const std::string& text) {
  if (hint_) hint_->setText(QString::fromStdString(text));
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
  int top = below.bottom() + 1 + kGap;
  // Never into the row of command buttons, and as far from them as from the strip: where the
  // room is short, the gaps above and below shrink alike.
  if (const QPushButton* ok = Button(1)) {
    const int room = ok->y() - (below.bottom() + 1);
    top = below.bottom() + 1 + std::clamp((room - height) / 2, 0, kGap);
  }
  hint_->setGeometry(left, top, width() - 2 * left, height);
  hint_->setAlignment(centred ? Qt::AlignHCenter | Qt::AlignTop : Qt::AlignLeft | Qt::AlignTop);
}

void TKeypadDialog::SetHintText(std::string text) {
  hintText_ = std::move(text);
  ShowHint(hintText_);
}

void TKeypadDialog::PressKey(int id) {
  typing_.Forget();
  ShowPending({});
  ShowHint(hintText_);
  // The symbols appended are the ones the button shows.
  keypad_.Press(id, Button(id)->text().toStdString());
}

void TKeypadDialog::keyPressEvent(QKeyEvent* event) {
  if (TypeKey(event)) return;
  TDialog::keyPressEvent(event);
}

bool TKeypadDialog::TypeKey(QKeyEvent* event) {
  // A text box keeps what is typed into it.
  if (qobject_cast<QLineEdit*>(focusWidget()) || !TypingGoesToKeypad()) return false;
  if (event->matches(QKeySequence::Paste)) {
    PasteClipboard();
    return true;
  }
  if (event->key() == Qt::Key_Backspace && event->modifiers() == Qt::NoModifier) {
    typing_.Backspace();
    AfterTyping({});
    return true;
  }
  if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
  const QString text = event->text();
  // Enter, Escape and Tab keep their usual meaning.
  if (text.isEmpty() || !text.front().isPrint()) return false;
  std::string refusal;
  for (char32_t c : text.toUcs4()) {
    const std::string reason = typing_.Type(c);
    if (!reason.empty() && refusal.empty())
      refusal = "\"" + TKeyboardInput::Utf8(c) + "\" refused: " + reason;
  }
  AfterTyping(refusal);
  return true;
}

void TKeypadDialog::PasteClipboard() {
  const QString text = QApplication::clipboard()->text();
  const std::u32string characters = text.toStdU32String();
  if (const auto refusal = typing_.Paste(characters)) {
    AfterTyping({});
    QApplication::beep();
    MessageBox(this, refusal->PasteMessage(), "Warning", MbIcon::Exclamation);
    return;
  }
  AfterTyping({});
}

void TKeypadDialog::AfterTyping(const std::string& refusal) {
  ShowPending(typing_.Pending());
  if (!refusal.empty()) QApplication::beep();
  ShowHint(refusal.empty() ? hintText_ : refusal);
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
  constexpr int kGap = 2;  // as the original layout leaves below the last row
  int keysBottom = 0;
  for (int id : keyIds_) {
    const QRect key = Button(id)->geometry();
    keysBottom = std::max(keysBottom, key.y() + key.height());
  }
  return std::max(0, keysBottom + kGap - top);
}
