#pragma once

#include <QWidget>

#include <memory>

class QLabel;
class TReferenzInfo;

// The page of a reference curve. For now it shows which curve it holds; editing the
// support values arrives with the reference editor.
class TReferenzFrame : public QWidget {
    Q_OBJECT
public:
    explicit TReferenzFrame(QWidget* parent = nullptr);
    ~TReferenzFrame() override;

    TReferenzInfo& Reference() { return *FReference; }
    bool Modified() const { return FModified; }
    void SetModified(bool modified) { FModified = modified; }
    void RefreshAfterLoad();

private:
    std::unique_ptr<TReferenzInfo> FReference;
    bool FModified = false;
    QLabel* lblName = nullptr;
};
