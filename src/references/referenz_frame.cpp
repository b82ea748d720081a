#include "references/referenz_frame.h"

#include "model/referenz_info.h"

#include <QFileInfo>
#include <QLabel>
#include <QVBoxLayout>

TReferenzFrame::TReferenzFrame(QWidget* parent)
    : QWidget(parent), FReference(std::make_unique<TReferenzInfo>()) {
    auto* layout = new QVBoxLayout(this);
    lblName = new QLabel(this);
    lblName->setObjectName(QStringLiteral("lblName"));
    lblName->setAlignment(Qt::AlignCenter);
    layout->addWidget(lblName);
    RefreshAfterLoad();
}

TReferenzFrame::~TReferenzFrame() = default;

void TReferenzFrame::RefreshAfterLoad() {
    const QString name = FReference->FileName.isEmpty()
                             ? tr("Neue Referenz")
                             : QFileInfo(FReference->FileName).fileName();
    lblName->setText(tr("Referenzkurve: %1 (%2 Stützwerte)").arg(name).arg(FReference->RowCount()));
}
