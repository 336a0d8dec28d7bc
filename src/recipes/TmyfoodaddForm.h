#pragma once

#include "recipes/Recipe.h"

#include <QDialog>
#include <array>

class QButtonGroup;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace tx {

struct Services;
class Tdm;
class RecipePictures;

// Adds a recipe or changes the one the browser found: name, the six categories from
// fixed lists, ingredients, method and the tree picture.
class TmyfoodaddForm : public QDialog {
    Q_OBJECT

public:
    TmyfoodaddForm(Services& services, QWidget* parent = nullptr);
    ~TmyfoodaddForm() override;

    // Shows the save button of the mode (both stand in one place).
    void setModifyMode(bool modify);
    // Fills the dialog with a stored recipe; a category value outside its list leaves
    // that list without a selection, a picture outside 2..15 checks RB2.
    void loadRecipe(const Recipe& recipe);
    // The recipe as entered (memo texts with CR LF line breaks).
    Recipe enteredRecipe() const;

public slots:
    void AddBtnClick();
    void ModifyBtnClick();
    void DelSbClick();

private:
    void save(bool modify);
    // Whether another recipe already has the name, letter case of Latin letters aside.
    bool nameTaken(const QString& name);
    QComboBox* list(RecipeView view) const { return lists_[size_t(view)]; }

    Services& services_;
    Tdm& dm_;
    QLineEdit* ed1 = nullptr;
    std::array<QComboBox*, kRecipeViewCount> lists_{};
    QButtonGroup* pictureGroup_ = nullptr;
    std::array<QRadioButton*, kLastRecipePicture + 1> pictureButtons_{};
    QPlainTextEdit* RE1 = nullptr;
    QPlainTextEdit* RE2 = nullptr;
    QPushButton* AddBtn = nullptr;
    QPushButton* ModifyBtn = nullptr;
    QPushButton* DelSb = nullptr;
};

// The recipe editor while it is open, otherwise null.
TmyfoodaddForm* currentRecipeEditor();

} // namespace tx
