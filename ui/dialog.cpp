#include "ui/dialog.h"

#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <algorithm>
#include <cmath>

#include "ui/check_box.h"
#include "ui/combo_box.h"
#include "ui/focus_ring.h"
#include "ui/glyph.h"
#include "ui/help_topic.h"
#include "ui/help_viewer.h"
#include "ui/mark_color.h"
#include "ui/modal_run.h"
#include "ui/radio_button.h"
#include "ui/resource_name.h"
#include "ui/window.h"

namespace {

// a * b / c rounded half away from zero, as dialog units are converted.
int MulDiv(int a, int b, int c) {
  long long product = static_cast<long long>(a) * b;
  long long half = c / 2;
  return static_cast<int>(product >= 0 ? (product + half) / c : (product - half) / c);
}

bool IsFixedFace(const std::string& face) {
  return SameResourceName(face, "Courier") || SameResourceName(face, "Courier New");
}

bool IsSystemFont(const std::string& face) {
  return face.empty() || SameResourceName(face, "System");
}

// The old system font's dialog units. Dialogs in it place their windows in pixels measured
// against these units, so both grow together, only with a desktop font too large for them.
constexpr QSize kSystemFontUnits(8, 16);

QString ToQString(const std::string& text) {
  return QString::fromStdString(text);
}

}  // namespace

TDialog::TDialog(QWidget* parent, const std::string& templateName)
    : TDialog(parent, templateName, {}) {}

TDialog::TDialog(QWidget* parent, const std::string& templateName,
                 const std::vector<TControlTemplate>& extraControls)
    : QDialog(parent), templateName_(templateName), focusRing_(new TFocusRing(this)) {
  // The dialogs keep the size they are built with: a title and a close box, nothing to
  // minimise or maximise.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  template_ = FindDialogTemplate(templateName);
  if (template_ && !extraControls.empty()) {
    completed_ = *template_;
    completed_.controls.insert(completed_.controls.end(), extraControls.begin(),
                               extraControls.end());
    template_ = &completed_;
  }
  BuildFromTemplate();
  // A dialog blocks the windows it belongs to, not the help viewer beside them.
  if (parent) setWindowModality(Qt::WindowModal);
  auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
  help->setContext(Qt::WindowShortcut);
  connect(help, &QShortcut::activated, this, &TDialog::ShowHelp);
}

void TDialog::ShowHelp() {
  ShowHelpTopic(HelpTopicOf(templateName_), this);
}

TDialog::~TDialog() = default;

QFont TDialog::TemplateFont(const std::string& face, int pointSize) {
  // Every dialog speaks the desktop's UI font at the size the desktop asks for; a template
  // that asked for more than the usual 8 points gets as much more. The old system font was the
  // desktop's UI font of its day.
  QFont font = QApplication::font();
  const qreal scale = pointSize > 0 ? pointSize / 8.0 : 1.0;
  if (IsFixedFace(face)) {
    // The face the printout uses, so that what is typed lines up as it will on paper.
    QFont fixed(QStringLiteral("Courier New"));
    fixed.setStyleHint(QFont::TypeWriter);
    fixed.setFixedPitch(true);
    font = fixed;
  }
  const QFont ui = QApplication::font();
  if (ui.pointSizeF() > 0)
    font.setPointSizeF(ui.pointSizeF() * scale);
  else
    font.setPixelSize(std::max(1, qRound(ui.pixelSize() * scale)));
  return font;
}

QSize TDialog::BaseUnitsOf(const QFont& font) {
  QFontMetricsF metrics(font);
  // The average width of the 52 letters, as dialog base units are defined, but rounded up:
  // the templates were drawn for a narrower face than today's UI fonts, whose digits, blanks
  // and capitals run wider against their average letter.
  const qreal letters = metrics.horizontalAdvance(
      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  return {static_cast<int>(std::ceil(letters / 52)), QFontMetrics(font).height()};
}

QRect TDialog::MapDialogRect(const QRect& du, const QSize& base) {
  return {MulDiv(du.x(), base.width(), 4), MulDiv(du.y(), base.height(), 8),
          MulDiv(du.width(), base.width(), 4), MulDiv(du.height(), base.height(), 8)};
}

QRect TDialog::MapDialogRect(const QRect& du) const {
  return MapDialogRect(du, baseUnits_);
}

QSizeF TDialog::PixelScaleOf(const QFont& font) {
  const QSize units = BaseUnitsOf(font);
  return {std::max(1.0, static_cast<double>(units.width()) / kPixelFontUnits.width()),
          std::max(1.0, static_cast<double>(units.height()) / kPixelFontUnits.height())};
}

int TDialog::ScaledX(int pixels) const {
  return static_cast<int>(std::lround(pixels * pixelScale_.width()));
}

int TDialog::ScaledY(int pixels) const {
  return static_cast<int>(std::lround(pixels * pixelScale_.height()));
}

QRect TDialog::ScaledRect(int x, int y, int w, int h) const {
  return {ScaledX(x), ScaledY(y), ScaledX(w), ScaledY(h)};
}

QSize TDialog::BaseUnitsOf(const TDialogTemplate& dialog) {
  if (!IsSystemFont(dialog.font)) return BaseUnitsOf(TemplateFont(dialog.font, dialog.pointSize));
  // The system font's units grow with a larger desktop font, as its pixel places do.
  const QSizeF scale = PixelScaleOf(TemplateFont(dialog.font, dialog.pointSize));
  return {static_cast<int>(std::lround(kSystemFontUnits.width() * scale.width())),
          static_cast<int>(std::lround(kSystemFontUnits.height() * scale.height()))};
}

QSize TDialog::ClientSizeOf(const TDialogTemplate& dialog) {
  return MapDialogRect(QRect(0, 0, dialog.w, dialog.h), BaseUnitsOf(dialog)).size();
}

void TDialog::BuildFromTemplate() {
  // The template's font sets the dialog units (but for the system font's own ones). Labels
  // and buttons speak the UI font even where a template asked for a fixed face: only its edit
  // boxes keep that face.
  const bool fixed = template_ && IsFixedFace(template_->font);
  const QFont font = template_ ? TemplateFont(template_->font, template_->pointSize)
                               : TemplateFont("MS Sans Serif", 8);
  setFont(fixed ? QApplication::font() : font);
  baseUnits_ = template_ ? BaseUnitsOf(*template_) : BaseUnitsOf(font);
  pixelScale_ = PixelScaleOf(this->font());
  if (!template_) {
    qWarning("Dialog template %s not found", templateName_.c_str());
    setWindowTitle(ToQString(templateName_));
    return;
  }
  setWindowTitle(ToQString(template_->caption));
  QRect client = MapDialogRect(QRect(template_->x, template_->y, template_->w, template_->h));
  setFixedSize(client.size());
  for (const TControlTemplate& control : template_->controls) {
    QWidget* widget = MakeControl(control);
    widget->setObjectName(QStringLiteral("control_%1").arg(control.id));
    if (fixed && control.kind == TControlTemplate::Edit) widget->setFont(font);
    controls_.push_back(widget);
    if (control.id != -1) byId_[control.id] = widget;
  }
  // A group box is only a frame: it must not cover the buttons drawn inside it.
  for (QWidget* widget : controls_)
    if (qobject_cast<QGroupBox*>(widget)) widget->lower();
  SpaceGroupsEvenly();
  ColourGroupFrames();
}

void TDialog::SpaceGroupsEvenly() {
  for (QWidget* frame : controls_) {
    if (!qobject_cast<QGroupBox*>(frame)) continue;
    // Columns of marks inside this frame, by their left edge.
    std::map<int, std::vector<QWidget*>> columns;
    for (QWidget* widget : controls_)
      if ((qobject_cast<TCheckBox*>(widget) || qobject_cast<TRadioButton*>(widget)) &&
          frame->geometry().contains(widget->geometry().center()))
        columns[widget->x()].push_back(widget);
    for (auto& [left, column] : columns) {
      if (column.size() < 3) continue;
      std::sort(column.begin(), column.end(),
                [](const QWidget* a, const QWidget* b) { return a->y() < b->y(); });
      const int first = column.front()->y();
      const int steps = static_cast<int>(column.size()) - 1;
      const int step =
          static_cast<int>(std::lround(static_cast<double>(column.back()->y() - first) / steps));
      for (int i = 0; i <= steps; ++i) column[i]->move(left, first + i * step);
    }
  }
}

void TDialog::ColourGroupFrames() {
  const QString frame = FrameColor(palette()).name();
  for (QWidget* widget : controls_) {
    if (!qobject_cast<QGroupBox*>(widget)) continue;
    // The title sits on the frame line, so the frame's top is where the template puts it.
    const QString sheet = QStringLiteral(
                              "QGroupBox { border: 1px solid %1; margin-top: 0.6em; }"
                              "QGroupBox::title { subcontrol-origin: margin; left: 6px; "
                              "padding: 0 2px; }")
                              .arg(frame);
    if (widget->styleSheet() != sheet) widget->setStyleSheet(sheet);
  }
}

void TDialog::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() == QEvent::PaletteChange) ColourGroupFrames();
}

QWidget* TDialog::MakeControl(const TControlTemplate& control) {
  QRect geometry = MapDialogRect(QRect(control.x, control.y, control.w, control.h));
  const QString text = ToQString(control.text);
  QWidget* widget = nullptr;
  switch (control.kind) {
    case TControlTemplate::PushButton:
    case TControlTemplate::DefPushButton: {
      auto* button = new QPushButton(text, this);
      const bool isDefault = control.kind == TControlTemplate::DefPushButton;
      button->setAutoDefault(isDefault);
      button->setDefault(isDefault);
      if (control.glyph != 0) {
        button->setIcon(GlyphIcon(control.glyph));
        button->setIconSize(QSize(kGlyphSize, kGlyphSize));
      }
      const int id = control.id;
      connect(button, &QPushButton::clicked, this, [this, id] { Dispatch(id); });
      widget = button;
      break;
    }
    case TControlTemplate::CheckBox:
      widget = new TCheckBox(text, this);
      break;
    case TControlTemplate::AutoRadio:
      widget = new TRadioButton(text, this);
      break;
    case TControlTemplate::GroupBox: {
      widget = new QGroupBox(text, this);
      break;
    }
    case TControlTemplate::Static: {
      auto* label = new QLabel(text, this);
      label->setTextFormat(Qt::PlainText);
      label->setWordWrap(true);
      label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
      widget = label;
      break;
    }
    case TControlTemplate::ComboDropList: {
      auto* combo = new TComboBox(this);
      // The template's height is that of the opened list; the closed box is one line high.
      geometry.setHeight(combo->sizeHint().height());
      widget = combo;
      break;
    }
    case TControlTemplate::Edit: {
      if (control.style & TControlTemplate::Multiline) {
        auto* edit = new QPlainTextEdit(text, this);
        edit->setLineWrapMode((control.style & TControlTemplate::AutoHScroll)
                                  ? QPlainTextEdit::NoWrap
                                  : QPlainTextEdit::WidgetWidth);
        edit->setVerticalScrollBarPolicy((control.style & TControlTemplate::VScroll)
                                             ? Qt::ScrollBarAsNeeded
                                             : Qt::ScrollBarAlwaysOff);
        if (!(control.style & TControlTemplate::Border)) edit->setFrameShape(QFrame::NoFrame);
        widget = edit;
      } else {
        auto* edit = new QLineEdit(text, this);
        edit->setFrame(control.style & TControlTemplate::Border);
        if (control.textLimit > 0) edit->setMaxLength(control.textLimit);
        widget = edit;
      }
      break;
    }
  }
  // Qt's check mark and its gap are wider than the template allowed for; let the label show
  // whole rather than cut its last letters.
  if (control.kind == TControlTemplate::CheckBox || control.kind == TControlTemplate::AutoRadio)
    geometry.setWidth(std::max(geometry.width(), widget->sizeHint().width()));
  widget->setGeometry(geometry);
  if (control.kind != TControlTemplate::Static && control.kind != TControlTemplate::GroupBox)
    focusRing_->Watch(widget);
  return widget;
}

void TDialog::Create() {
  if (setUp_) return;
  setUp_ = true;
  SetupWindow();
}

void TDialog::SetupWindow() {
  for (TWindow* window : findChildren<TWindow*>()) window->Create();
}

int TDialog::Execute() {
  Create();
  closed_ = false;
  return RunModal(*this);
}

void TDialog::done(int result) {
  closed_ = true;
  QDialog::done(result);
}

void TDialog::reject() {
  Dispatch(kCancel);
}

bool TDialog::Dispatch(int id) {
  if (TCommandTarget::Dispatch(id)) return true;
  if (id == kOk) {
    CmOk();
    return true;
  }
  if (id == kCancel) {
    CmCancel();
    return true;
  }
  return false;
}

bool TDialog::Handles(int id) const {
  return id == 1 || id == 2 || TCommandTarget::Handles(id);
}

bool TDialog::IsCommandEnabled(int id) const {
  return TCommandTarget::Handles(id) ? TCommandTarget::IsCommandEnabled(id) : Handles(id);
}

QWidget* TDialog::Control(int id) const {
  auto it = byId_.find(id);
  return it == byId_.end() ? nullptr : it->second;
}

QPushButton* TDialog::Button(int id) const {
  return qobject_cast<QPushButton*>(Control(id));
}
TCheckBox* TDialog::CheckBox(int id) const {
  return qobject_cast<TCheckBox*>(Control(id));
}
TRadioButton* TDialog::RadioButton(int id) const {
  return qobject_cast<TRadioButton*>(Control(id));
}
TComboBox* TDialog::ComboBox(int id) const {
  return qobject_cast<TComboBox*>(Control(id));
}
QLineEdit* TDialog::Edit(int id) const {
  return qobject_cast<QLineEdit*>(Control(id));
}
QPlainTextEdit* TDialog::MultilineEdit(int id) const {
  return qobject_cast<QPlainTextEdit*>(Control(id));
}

void TDialog::EnableButton(int id, bool enable) {
  if (QWidget* control = Control(id)) control->setEnabled(enable);
}

bool TDialog::IsButtonEnabled(int id) const {
  QWidget* control = Control(id);
  return control && control->isEnabled();
}

void TDialog::GrowDownFrom(int y, int extra) {
  if (extra <= 0) return;
  for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    if (!child->isWindow() && child->y() >= y) child->move(child->x(), child->y() + extra);
  setFixedHeight(height() + extra);
}

QLabel* TDialog::AddStatic(const std::string& text, int x, int y, int w, int h) {
  auto* label = new QLabel(ToQString(text), this);
  label->setTextFormat(Qt::PlainText);
  label->setWordWrap(true);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->setGeometry(x, y, w, h);
  if (isVisible()) label->show();
  return label;
}
