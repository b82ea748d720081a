#include "references/extract_ref_form.h"

#include "settings/global_unit.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRegularExpressionValidator>

TExtractRefForm::TExtractRefForm(const QStringList& channelNames, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("ExtractRefForm"));
    setWindowTitle(tr("Referenz exrahieren"));
    setWindowFlag(Qt::Tool);
    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(tr("Bitte Kanal auswählen:")), 0, 0, 1, 2);
    comboChannel = new QComboBox(this);
    comboChannel->setObjectName(QStringLiteral("comboChannel"));
    comboChannel->addItems(channelNames);
    comboChannel->setCurrentIndex(channelNames.isEmpty() ? -1 : 0);
    grid->addWidget(comboChannel, 1, 0, 1, 2);
    grid->addWidget(new QLabel(tr("Bitte Standard-Toleranz auswählen:")), 2, 0, 1, 2);
    edtDelta = new QLineEdit(QLocale().toString(5.0, 'f', 1), this);
    edtDelta->setObjectName(QStringLiteral("edtDelta"));
    // Digits, comma and full stop only; the number itself is checked on OK.
    edtDelta->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9.,]*")), edtDelta));
    grid->addWidget(edtDelta, 3, 0);
    grid->addWidget(new QLabel(tr("°C")), 3, 1);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(tr("Übernehmen"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("btnOK"));
    QPushButton* cancel = buttons->addButton(tr("Abbrechen"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    grid->addWidget(buttons, 4, 0, 1, 2);
    connect(ok, &QPushButton::clicked, this, &TExtractRefForm::Accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    setTabOrder(edtDelta, comboChannel);
    edtDelta->setFocus();

    const WindowGeometry g = LoadWindowGeometry(objectName());
    move(g.left, g.top);
    resize(std::min(g.width, 400), std::min(g.height, 220));
}

TExtractRefForm::~TExtractRefForm() {
    SaveWindowGeometry(objectName(), pos().y(), pos().x(), width(), height());
}

int TExtractRefForm::Channel() const { return comboChannel->currentIndex(); }

QString TExtractRefForm::DeltaText() const { return edtDelta->text(); }

void TExtractRefForm::Accept() {
    bool ok = false;
    QLocale().toDouble(edtDelta->text(), &ok);
    if (!ok) {
        ShowInvalidNumber(edtDelta);
        return;
    }
    accept();
}

void TExtractRefForm::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && edtDelta->hasFocus()) {
        Accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
