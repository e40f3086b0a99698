#include "app/about_dialog.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/about_dialog_state.h"
#include "app/gui/control_binding.h"
#include "app/gui/program_icon.h"

namespace kestrel::gui {
namespace {

QLabel* Centred(QWidget* parent, const char* text, bool bold = false) {
  auto* label = new QLabel(QString::fromUtf8(text), parent);
  label->setAlignment(Qt::AlignCenter);
  label->setTextFormat(Qt::PlainText);
  if (bold) {
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
  }
  return label;
}

}  // namespace

AboutDialog::AboutDialog(Controller& /*controller*/, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
  using S = AboutDialogState;
  setObjectName(IdName(111));
  setWindowTitle(QString::fromUtf8(S::kCaption));
  const QIcon icon = ProgramIcon();
  setWindowIcon(icon);

  // The framed area: the program icon at the left, the name and credit lines beside it.
  auto* frame = new QFrame(this);
  frame->setFrameShape(QFrame::StyledPanel);
  frame->setFrameShadow(QFrame::Sunken);
  auto* frameLayout = new QHBoxLayout(frame);
  auto* picture = new QLabel(frame);
  picture->setObjectName(QStringLiteral("programIcon"));
  picture->setPixmap(icon.pixmap(QSize(48, 48), devicePixelRatioF()));
  picture->setFixedSize(48, 48);
  frameLayout->addWidget(picture, 0, Qt::AlignTop);
  auto* lines = new QVBoxLayout;
  lines->addWidget(Centred(frame, S::kTitle, true));
  lines->addWidget(Centred(frame, S::kSubtitle));
  lines->addSpacing(6);
  lines->addWidget(Centred(frame, S::kCredit));
  lines->addWidget(Centred(frame, S::kAddress));
  frameLayout->addLayout(lines, 1);

  auto* rule = new QFrame(this);
  rule->setFrameShape(QFrame::HLine);
  rule->setFrameShadow(QFrame::Sunken);

  auto* ok = Named(new QPushButton(QStringLiteral("OK"), this), S::kOk);
  ok->setDefault(true);
  ok->setMinimumWidth(75);
  connect(ok, &QPushButton::clicked, this, [this] { done(AboutDialogState::Close(AboutDialogState::kOk)); });

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(frame);
  layout->addSpacing(4);
  layout->addWidget(Centred(this, S::kGreetingsHeading, true));
  layout->addWidget(Centred(this, S::kGreetings));
  layout->addWidget(Centred(this, S::kClosing));
  layout->addSpacing(4);
  layout->addWidget(Centred(this, S::kThanksHeading, true));
  layout->addWidget(Centred(this, S::kThanks));
  layout->addSpacing(4);
  layout->addWidget(Centred(this, S::kContact));
  layout->addWidget(rule);
  layout->addWidget(ok, 0, Qt::AlignHCenter);
  layout->setContentsMargins(18, 12, 18, 12);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  // The title bar's close button (and Escape) end it with 0, QDialog's rejected result.
}

}  // namespace kestrel::gui
