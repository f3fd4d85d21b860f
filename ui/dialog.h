#pragma once
#include <QDialog>
#include <QFont>
#include <QRect>
#include <QSize>
#include <map>
#include <string>
#include <vector>

#include "ui/command_target.h"
#include "ui/dialog_template.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class TCheckBox;
class TFocusRing;
class TComboBox;
class TRadioButton;

// A modal dialog built from a dialog template: the controls of the template are created in the
// constructor, in dialog units converted with the template font's base units, and found by id.
// Labels and buttons use the desktop's UI font; a template with a fixed face keeps it in its
// edit boxes.
// Push buttons dispatch their id through the command table; ids 1 and 2 not bound otherwise go
// to CmOk and CmCancel. Escape and the close box send id 2, as Cancel does. F1 opens help.
class TDialog : public QDialog, public TCommandTarget {
  Q_OBJECT

 public:
  // The codes the OK and Cancel buttons (ids 1 and 2) close a dialog with; Escape and the
  // close box close it with kCancel too.
  static constexpr int kOk = 1;
  static constexpr int kCancel = 2;

  TDialog(QWidget* parent, const std::string& templateName);
  // A dialog whose template is completed at run time: extraControls follow the template's own
  // controls, in that order (the keypad dialogs add their keys this way, so the framework needs
  // no key table).
  TDialog(QWidget* parent, const std::string& templateName,
          const std::vector<TControlTemplate>& extraControls);
  ~TDialog() override;

  // Sets the dialog up (once) and runs it modally through the modal-run seam; returns the
  // code the dialog closed with.
  int Execute();
  // Runs SetupWindow once; Execute does this itself.
  void Create();
  bool IsSetUp() const { return setUp_; }

  void CloseWindow(int result) { done(result); }
  // Closed since the last Execute began (or ever, before any).
  bool IsClosed() const { return closed_; }

  const std::string& TemplateName() const { return templateName_; }
  // Null when the template was not found (the dialog then stays empty). Includes the extra
  // controls the dialog was given.
  const TDialogTemplate* Template() const { return template_; }

  // Controls by id; null when absent or of another type.
  QWidget* Control(int id) const;
  QPushButton* Button(int id) const;
  TCheckBox* CheckBox(int id) const;
  TRadioButton* RadioButton(int id) const;
  TComboBox* ComboBox(int id) const;
  QLineEdit* Edit(int id) const;
  QPlainTextEdit* MultilineEdit(int id) const;
  // Every control made from the template, in template order (statics included).
  const std::vector<QWidget*>& TemplateControls() const { return controls_; }

  void EnableButton(int id, bool enable);
  bool IsButtonEnabled(int id) const;

  // A static text at a pixel position, made at run time.
  QLabel* AddStatic(const std::string& text, int x, int y, int w, int h);
  // Makes extra pixels of room at y where the dialog's fixed units cannot hold a text: every
  // control from y down moves down that far and the dialog grows as much, so the controls keep
  // their order and their places relative to each other.
  void GrowDownFrom(int y, int extra);

  // Dialog-unit conversion: x * baseX / 4 and y * baseY / 8, rounded.
  QSize BaseUnits() const { return baseUnits_; }
  // Windows that dialogs place in pixels, and the system font's dialog units, were fitted to a
  // desktop font of kPixelFontUnits; a font whose units are larger scales those pixels along
  // (across by the units' width, down by their height), so that texts still fit and every
  // window keeps its place relative to the controls. Never below 1.
  static constexpr QSize kPixelFontUnits{8, 14};
  QSizeF PixelScale() const { return pixelScale_; }
  static QSizeF PixelScaleOf(const QFont& font);
  int ScaledX(int pixels) const;
  int ScaledY(int pixels) const;
  QRect ScaledRect(int x, int y, int w, int h) const;
  QRect MapDialogRect(const QRect& dialogUnits) const;
  static QSize BaseUnitsOf(const QFont& font);
  // The units and the client size of a dialog built on that template, before it is built.
  static QSize BaseUnitsOf(const TDialogTemplate& dialog);
  static QSize ClientSizeOf(const TDialogTemplate& dialog);
  static QRect MapDialogRect(const QRect& dialogUnits, const QSize& baseUnits);
  // The font a template names, as it looks here: the desktop's UI font (a fixed face for
  // "Courier"), scaled by the template's point size against the usual 8 points; an empty name
  // (the system font) is the UI font as it is.
  static QFont TemplateFont(const std::string& face, int pointSize);

  bool Dispatch(int id) override;
  bool Handles(int id) const override;
  bool IsCommandEnabled(int id) const override;

  // The ring that shows which control has the focus.
  TFocusRing* FocusRing() const { return focusRing_; }

  void done(int result) override;
  void reject() override;

  // F1: the help page of this dialog's template, or the help index when it has none.
  void ShowHelp();

 protected:
  // Runs once the controls exist and before the dialog is shown or driven. The base sets up
  // the dialog's child windows; overrides call it first.
  virtual void SetupWindow();
  virtual void CmOk() { CloseWindow(kOk); }
  virtual void CmCancel() { CloseWindow(kCancel); }

  void changeEvent(QEvent* event) override;

 private:
  void BuildFromTemplate();
  QWidget* MakeControl(const TControlTemplate& control);
  // The check boxes and radio buttons of one column in a group box stand equally far apart:
  // rounding each one's dialog units to pixels would leave gaps a pixel or two apart.
  void SpaceGroupsEvenly();
  // Group boxes draw their frame in a colour that stays in sight on the palette.
  void ColourGroupFrames();

  std::string templateName_;
  const TDialogTemplate* template_ = nullptr;
  // The template with the extra controls, when there are any; template_ then points here.
  TDialogTemplate completed_;
  QSize baseUnits_;
  QSizeF pixelScale_{1, 1};
  TFocusRing* focusRing_ = nullptr;
  std::vector<QWidget*> controls_;
  std::map<int, QWidget*> byId_;
  bool setUp_ = false;
  bool closed_ = false;
};
