#include "window/qt/qt_progress_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>
#include <functional>

#include "window/design.h"
#include "window/qt/windows1252.h"

// The icon's images are compiled into this library; a static library has to register them itself.
static void RegisterIconImages() {
  Q_INIT_RESOURCE(korvane);
}

namespace window {

namespace {

// The top-level widget. Closing it through the frame hides it and tells the window. Return and
// Enter that no control takes press the default button while it shows, as in a dialog.
class FormWidget : public QWidget {
 public:
  explicit FormWidget(std::function<void()> closedByFrame)
      : closedByFrame_(std::move(closedByFrame)) {}

 protected:
  void closeEvent(QCloseEvent* event) override {
    event->accept();
    closedByFrame_();
  }

  void keyPressEvent(QKeyEvent* event) override {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
      for (QPushButton* button : findChildren<QPushButton*>()) {
        if (button->isDefault() && button->isVisible()) {
          button->click();
          return;
        }
      }
    }
    QWidget::keyPressEvent(event);
  }

 private:
  std::function<void()> closedByFrame_;
};

QRect Pixels(const design::Place& place) {
  const int t = design::kTwipsPerPixel;
  return {place.left / t, place.top / t, place.width / t, place.height / t};
}

template <typename Widget>
Widget* Place(Widget* widget, const char* name, const design::Place& place, bool visible) {
  widget->setObjectName(QString::fromLatin1(name));
  widget->setGeometry(Pixels(place));
  widget->setVisible(visible);
  return widget;
}

QLineEdit* ReadOut(QWidget& form, const char* name, const char* text, const design::Place& place) {
  auto* box = Place(new QLineEdit(&form), name, place, true);
  box->setReadOnly(true);
  box->setText(ScreenText(text));
  return box;
}

QLabel* Caption(QWidget& form, const char* name, const char* text, const design::Place& place) {
  auto* label = Place(new QLabel(ScreenText(text), &form), name, place, true);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->setAutoFillBackground(true);
  label->setBackgroundRole(QPalette::Base);
  label->setForegroundRole(QPalette::Text);
  return label;
}

QIcon ApplicationIcon() {
  RegisterIconImages();
  QIcon icon;
  for (const int size : {16, 32, 48}) {
    icon.addFile(QStringLiteral(":/korvane/korvane-%1.png").arg(size), QSize(size, size));
  }
  return icon;
}

}  // namespace

struct QtProgressWindow::Controls {
  std::unique_ptr<FormWidget> form;
  QListWidget* list1 = nullptr;
  QPushButton* command1 = nullptr;
  QLineEdit* text3 = nullptr;
  QLineEdit* text2 = nullptr;
  QListWidget* fileZ1 = nullptr;
  QPlainTextEdit* text1 = nullptr;
  QLabel* label2 = nullptr;
};

QtProgressWindow::QtProgressWindow(platform::FileSystem& fileSystem)
    : WindowState(fileSystem), text1_([this] { Load(); }) {
  wake_.setSingleShot(true);
  wake_.setTimerType(Qt::PreciseTimer);
  wake_.setInterval(kIdleWaitMs);
}

QtProgressWindow::~QtProgressWindow() {
  Unload();
}

bool QtProgressWindow::CreateControls() {
  auto controls = std::make_unique<Controls>();
  controls->form = std::make_unique<FormWidget>([this] { ClosedByFrame(); });
  FormWidget& form = *controls->form;
  form.setWindowTitle(QString::fromLatin1(design::kCaption));
  form.setWindowIcon(ApplicationIcon());
  form.setFixedSize(design::kClientWidth / design::kTwipsPerPixel,
                    design::kClientHeight / design::kTwipsPerPixel);
  // The frame offers what a fixed-size window can do: no maximise button and no resizing border.
  form.setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                      Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                      Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);

  // Created in the order of the design, which is also the order of the Tab key.
  controls->list1 = Place(new QListWidget(&form), "List1", design::kList1Place, false);

  controls->command1 = Place(new QPushButton(QString::fromLatin1(design::kCommand1), &form),
                             "Command1", design::kCommand1Place, false);
  QObject::connect(controls->command1, &QPushButton::clicked, [] { DonePressed = true; });

  controls->text3 = ReadOut(form, "Text3", design::kText3, design::kText3Place);
  controls->text2 = ReadOut(form, "Text2", design::kText2, design::kText2Place);
  controls->fileZ1 = Place(new QListWidget(&form), "FileZ1", design::kFileZ1Place, false);

  // Read-only, so that what is shown is always what the driver wrote and will save.
  controls->text1 = Place(new QPlainTextEdit(&form), "Text1", design::kText1Place, true);
  controls->text1->setReadOnly(true);
  controls->text1->setUndoRedoEnabled(false);
  controls->text1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  controls->text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  controls->text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

  controls->label2 = Place(new QLabel(QString::fromLatin1(design::kLabel2), &form), "Label2",
                           design::kLabel2Place, false);
  controls->label2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  QFont bannerFont(QString::fromLatin1(design::kLabel2Font));
  bannerFont.setStyleHint(QFont::SansSerif);
  bannerFont.setPointSizeF(design::kLabel2PointSize);
  bannerFont.setBold(true);
  controls->label2->setFont(bannerFont);
  QPalette bannerColours = controls->label2->palette();
  bannerColours.setColor(QPalette::WindowText, QColor(255, 0, 0));
  controls->label2->setPalette(bannerColours);

  Caption(form, "Label1_0", design::kLabel1Directory, design::kLabel1DirectoryPlace);
  Caption(form, "Label1_1", design::kLabel1Count, design::kLabel1CountPlace);

  text1_.Attach(*controls->text1);
  controls_ = std::move(controls);
  return true;
}

void QtProgressWindow::DestroyControls() {
  controls_.reset();
}

void QtProgressWindow::Draw(Control control) {
  Controls& controls = *controls_;
  switch (control) {
    case Control::Form:
      controls.form->show();
      // The log box knows its final size only now.
      text1_.Present();
      controls.text1->ensureCursorVisible();
      break;
    case Control::Text2:
      controls.text2->setText(ScreenText(Text2()));
      break;
    case Control::Text3:
      controls.text3->setText(ScreenText(Text3()));
      break;
    case Control::List1:
      controls.list1->addItem(ScreenText(List1Items().back()));
      break;
    case Control::FileZ1:
      controls.fileZ1->clear();
      for (const std::string& name : FileZ1().names) {
        controls.fileZ1->addItem(ScreenText(name));
      }
      break;
    case Control::Label2:
      controls.label2->setVisible(Label2Visible());
      break;
    case Control::Command1:
      controls.command1->setVisible(Command1Visible());
      // Done shows after a failed run: it takes the keyboard focus and Return presses it.
      controls.command1->setDefault(Command1Visible());
      if (Command1Visible()) {
        controls.command1->setFocus();
      }
      break;
  }
}

void QtProgressWindow::Refresh() {
  Load();
  text1_.Present();
  controls_->form->repaint();
}

bool QtPlatformIsSeen() {
  const QString platform = QGuiApplication::platformName();
  return platform != QStringLiteral("offscreen") && platform != QStringLiteral("minimal");
}

bool QtProgressWindow::Watched() const {
  return QtPlatformIsSeen();
}

void QtProgressWindow::DoEvents() {
  text1_.Present();
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  // With nothing queued this blocks until an event arrives or the timer fires.
  wake_.start();
  QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  wake_.stop();
}

QWidget* QtProgressWindow::Form() const {
  return controls_ ? controls_->form.get() : nullptr;
}

}  // namespace window
