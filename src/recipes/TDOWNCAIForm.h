#pragma once

#include "data/Connection.h"
#include "data/Dataset.h"

#include <QDialog>

namespace tx {

struct Services;
class Tdm;
class TFlatSpeedButton;
class TLabel3D;

// Imports the recipes of a downloaded update file that are not in the recipe book yet,
// together with the update's date.
class TDOWNCAIForm : public QDialog {
    Q_OBJECT

public:
    // updateFile: the update database in the program's folder.
    TDOWNCAIForm(Services& services, const QString& updateFile, QWidget* parent = nullptr);
    ~TDOWNCAIForm() override;

    // Registers the data source, opens the update file read-only and shows both dates.
    // An update file that cannot be read is reported and the window closes; false then.
    bool FormShow();
    bool connected() const { return ADOConnection1.isOpen(); }

public slots:
    void UPCAISBClick();
    void QuitSbClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void refuseUpdateFile(const QString& reason);

    Services& services_;
    Tdm& dm_;
    QString updateFile_;
    bool shown_ = false;

    Connection ADOConnection1;
    TableDataset SYSTable;
    Dataset nameQuery;

    TLabel3D* LB2 = nullptr;
    TLabel3D* LB3 = nullptr;
    TFlatSpeedButton* UPCAISB = nullptr;
    TFlatSpeedButton* QuitSb = nullptr;
};

// The import window while it is open, otherwise null.
TDOWNCAIForm* currentRecipeImport();

// Opens the import window for the update file modally over owner.
void OpenRecipeImport(Services& services, QWidget* owner, const QString& updateFile);

} // namespace tx
