#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;

// Turns one channel of a measurement into a reference: asks for the channel and a
// uniform tolerance in degrees.
class TExtractRefForm : public QDialog {
    Q_OBJECT
public:
    explicit TExtractRefForm(const QStringList& channelNames, QWidget* parent = nullptr);
    ~TExtractRefForm() override;

    int Channel() const;
    // The tolerance as typed, in degrees.
    QString DeltaText() const;
    QComboBox* channelCombo() const { return comboChannel; }
    QLineEdit* deltaEdit() const { return edtDelta; }

    // OK: accepted only with a number in the user's format.
    void Accept();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QComboBox* comboChannel;
    QLineEdit* edtDelta;
};
