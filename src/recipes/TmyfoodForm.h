#pragma once

#include "recipes/Recipe.h"
#include "recipes/RecipePictures.h"

#include <QDialog>
#include <array>
#include <functional>

class QLabel;
class QPlainTextEdit;
class QPrinter;
class QRadioButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace tx {

struct Services;
class Tdm;
class TFlatSpeedButton;
class TLabel3D;

// The recipe book: the category tree on the left, the chosen recipe on the right, and
// the actions on recipes (add, modify, delete, export, print, download, import).
class TmyfoodForm : public QDialog {
    Q_OBJECT

public:
    explicit TmyfoodForm(Services& services, QWidget* parent = nullptr);
    ~TmyfoodForm() override;

    // Rebuilds the tree for the checked view; the detail area empties.
    void BuildRecipeTree();
    RecipeView checkedView() const;
    const RecipePictures& pictures() const { return pictures_; }

    // Asks where to print; answers false when the user cancels. By default the desktop's
    // print dialog.
    using PrinterSetup = std::function<bool(QPrinter&, QWidget*)>;
    void setPrinterSetup(PrinterSetup setup) { printerSetup_ = std::move(setup); }

public slots:
    void AIHAORBClick();
    void tree2Click();
    void AddSbClick();
    void ModifySbClick();
    void DelSbClick();
    void PrintsbClick();
    void OUTSBClick();
    void DOWNSBClick();
    void UPCAISBClick();
    void Label3D2Click();
    void QuitSbClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildTopBand(QWidget* band);
    void buildDetail(QWidget* detail);
    QTreeWidgetItem* selectedRecipeNode() const;
    // Makes the selected recipe the current row of goQuery.
    void findRecipe(const QTreeWidgetItem* node);
    // The text of the shown recipe for export and print; empty after telling the user
    // that no recipe is shown.
    bool shownRecipeText(QString& text);

    Services& services_;
    Tdm& dm_;
    RecipePictures pictures_;
    PrinterSetup printerSetup_;

    std::array<QRadioButton*, kRecipeViewCount> viewButtons_{};
    TFlatSpeedButton* AddSb = nullptr;
    TFlatSpeedButton* ModifySb = nullptr;
    TFlatSpeedButton* DelSb = nullptr;
    TFlatSpeedButton* Printsb = nullptr;
    TFlatSpeedButton* DOWNSB = nullptr;
    TFlatSpeedButton* UPCAISB = nullptr;
    TFlatSpeedButton* QuitSb = nullptr;
    TLabel3D* Label3D2 = nullptr;
    QTreeWidget* tree2 = nullptr;
    QLabel* CAIPL = nullptr;
    TFlatSpeedButton* OUTSB = nullptr;
    QPlainTextEdit* RE1 = nullptr;
    QPlainTextEdit* RE2 = nullptr;
    QPlainTextEdit* RE9 = nullptr;
};

// The recipe book while it is open, otherwise null.
TmyfoodForm* currentRecipeBrowser();

// Opens the recipe book modally over owner; it frees itself when closed.
void OpenRecipeBook(Services& services, QWidget* owner);

// The update file the import reads: "qmtfood.mdb" in the program's folder, or the
// downloaded "qmtfood.edu" when that is absent; empty when neither exists.
QString recipeUpdateFile(const Services& services);

} // namespace tx
