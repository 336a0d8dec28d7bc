#include "recipes/TmyfoodaddForm.h"

#include "data/DatabaseError.h"
#include "data/Dataset.h"
#include "data/LatinCase.h"
#include "data/Tdm.h"
#include "platform/Dialogs.h"
#include "platform/Services.h"
#include "recipes/RecipePictures.h"
#include "recipes/RecipeText.h"
#include "recipes/TmyfoodForm.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

namespace tx {

namespace {

TmyfoodaddForm* openEditor = nullptr;

const QColor kPanelColor{204, 255, 204};
const QColor kListColor{235, 214, 147};
const QString kCaution = QStringLiteral("注意");

void setBackground(QWidget* widget, const QColor& color, QPalette::ColorRole role) {
    QPalette palette = widget->palette();
    palette.setColor(role, color);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

// The editor's lists in the order of its group box.
constexpr RecipeView kListOrder[] = {RecipeView::Favourite, RecipeView::Kindergarten,
                                     RecipeView::MealTime,  RecipeView::Cuisine,
                                     RecipeView::Taste,     RecipeView::Ingredient};

int indexIgnoringLatinCase(const QComboBox* box, const QString& value) {
    for (int i = 0; i < box->count(); ++i)
        if (equalsIgnoringLatinCase(box->itemText(i), value))
            return i;
    return -1;
}

} // namespace

TmyfoodaddForm::TmyfoodaddForm(Services& services, QWidget* parent)
    : QDialog(parent), services_(services), dm_(*services.dm) {
    setObjectName(QStringLiteral("TmyfoodaddForm"));
    setWindowTitle(QStringLiteral("[菜] 信息管理操作"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(787, 593);

    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setGeometry(0, 0, 660, 593);
    setBackground(panel, kPanelColor, QPalette::Window);

    auto* nameLabel = new QLabel(QStringLiteral("菜 名"), panel);
    nameLabel->setObjectName(QStringLiteral("Label1"));
    nameLabel->setGeometry(12, 12, 50, 24);
    ed1 = new QLineEdit(panel);
    ed1->setObjectName(QStringLiteral("ed1"));
    ed1->setGeometry(66, 10, 300, 26);
    nameLabel->setBuddy(ed1);

    auto* categories = new QGroupBox(QStringLiteral("[分类] 设定"), panel);
    categories->setObjectName(QStringLiteral("GroupBox1"));
    categories->setGeometry(8, 44, 644, 110);
    for (int i = 0; i < kRecipeViewCount; ++i) {
        const RecipeViewInfo& info = recipeView(kListOrder[i]);
        const QRect cell(10 + (i % 3) * 212, 20 + (i / 3) * 44, 200, 20);
        auto* label = new QLabel(info.editorCaption, categories);
        label->setObjectName(QStringLiteral("ListLabel%1").arg(i + 1));
        label->setGeometry(cell);
        auto* box = new QComboBox(categories);
        box->setObjectName(QString::fromLatin1(info.editorName));
        box->setEditable(false);
        box->addItems(editorValues(info.view));
        box->setCurrentIndex(0);
        box->setGeometry(cell.translated(0, 20));
        setBackground(box, kListColor, QPalette::Button);
        setBackground(box, kListColor, QPalette::Base);
        label->setBuddy(box);
        lists_[size_t(info.view)] = box;
    }

    auto* pictures = new QGroupBox(QStringLiteral("[菜显示图片] 设定"), panel);
    pictures->setObjectName(QStringLiteral("GroupBox2"));
    pictures->setGeometry(8, 158, 644, 80);
    pictureGroup_ = new QButtonGroup(this);
    pictureGroup_->setExclusive(true);
    const RecipePictures art;
    for (int n = kFirstRecipePicture; n <= kLastRecipePicture; ++n) {
        const int slot = n - kFirstRecipePicture;
        auto* rb = new QRadioButton(pictures);
        rb->setObjectName(QStringLiteral("RB%1").arg(n));
        rb->setIcon(art.icon(n));
        rb->setIconSize(QSize(RecipePictures::Size, RecipePictures::Size));
        rb->setAccessibleName(QStringLiteral("图片%1 %2").arg(n).arg(RecipePictures::name(n)));
        rb->setToolTip(RecipePictures::name(n));
        rb->setGeometry(10 + (slot % 7) * 90, 20 + (slot / 7) * 28, 60, 24);
        pictureGroup_->addButton(rb, n);
        pictureButtons_[size_t(n)] = rb;
    }
    pictureButtons_[kFirstRecipePicture]->setChecked(true);

    const auto makeText = [panel](const char* name, const QString& caption, const QRect& where) {
        auto* label = new QLabel(caption, panel);
        label->setObjectName(QStringLiteral("Label") + QString::fromLatin1(name));
        label->setGeometry(where.x(), where.y() - 22, 100, 20);
        auto* box = new QPlainTextEdit(panel);
        box->setObjectName(QString::fromLatin1(name));
        box->setLineWrapMode(QPlainTextEdit::NoWrap);
        box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        box->setGeometry(where);
        box->setAccessibleName(caption);
        return box;
    };
    RE1 = makeText("RE1", QStringLiteral("材 料"), {8, 266, 240, 318});
    RE2 = makeText("RE2", QStringLiteral("做 法"), {256, 266, 396, 318});

    const auto makeButton = [this](const char* name, const QString& caption, int y) {
        auto* button = new QPushButton(caption, this);
        button->setObjectName(QString::fromLatin1(name));
        button->setAutoDefault(false);
        button->setGeometry(680, y, 90, 36);
        return button;
    };
    AddBtn = makeButton("AddBtn", QStringLiteral("保存"), 60);
    ModifyBtn = makeButton("ModifyBtn", QStringLiteral("保存"), 60);
    DelSb = makeButton("DelSb", QStringLiteral("放弃"), 120);
    connect(AddBtn, &QPushButton::clicked, this, &TmyfoodaddForm::AddBtnClick);
    connect(ModifyBtn, &QPushButton::clicked, this, &TmyfoodaddForm::ModifyBtnClick);
    connect(DelSb, &QPushButton::clicked, this, &TmyfoodaddForm::DelSbClick);
    setModifyMode(false);

    openEditor = this;
}

TmyfoodaddForm::~TmyfoodaddForm() {
    if (openEditor == this)
        openEditor = nullptr;
}

void TmyfoodaddForm::setModifyMode(bool modify) {
    AddBtn->setVisible(!modify);
    ModifyBtn->setVisible(modify);
}

void TmyfoodaddForm::loadRecipe(const Recipe& r) {
    ed1->setText(r.name);
    const auto select = [this](RecipeView view, const QString& value) {
        list(view)->setCurrentIndex(indexIgnoringLatinCase(list(view), value));
    };
    select(RecipeView::Favourite, r.favourite);
    select(RecipeView::Kindergarten, r.kindergarten);
    select(RecipeView::MealTime, r.mealTime);
    select(RecipeView::Cuisine, r.cuisine);
    select(RecipeView::Taste, r.taste);
    select(RecipeView::Ingredient, r.ingredient);
    RE1->setPlainText(r.ingredientsOn == kYes ? memoForDisplay(r.ingredients) : QString());
    RE2->setPlainText(r.methodOn == kYes ? memoForDisplay(r.method) : QString());
    pictureButtons_[size_t(recipePicture(QString::number(r.picture)))]->setChecked(true);
}

Recipe TmyfoodaddForm::enteredRecipe() const {
    Recipe r;
    r.name = ed1->text();
    r.favourite = list(RecipeView::Favourite)->currentText();
    r.mealTime = list(RecipeView::MealTime)->currentText();
    r.cuisine = list(RecipeView::Cuisine)->currentText();
    r.taste = list(RecipeView::Taste)->currentText();
    r.ingredient = list(RecipeView::Ingredient)->currentText();
    r.kindergarten = list(RecipeView::Kindergarten)->currentText();
    const QString ingredients = RE1->toPlainText();
    r.ingredients = memoForStorage(ingredients);
    r.ingredientsOn = ingredients.isEmpty() ? kNo : kYes;
    const QString method = RE2->toPlainText();
    r.method = memoForStorage(method);
    r.methodOn = method.isEmpty() ? kNo : kYes;
    const int checked = pictureGroup_->checkedId();
    r.picture = checked < 0 ? kFirstRecipePicture : checked;
    return r;
}

bool TmyfoodaddForm::nameTaken(const QString& name) {
    Dataset& all = dm_.ALLQuery;
    all.close();
    all.setSql(QStringLiteral("select * from myfood  "));
    all.open();
    return all.locate(QStringLiteral("菜名"), name);
}

void TmyfoodaddForm::save(bool modify) {
    const QString name = ed1->text();
    if (name.isEmpty()) {
        services_.dialogs->messageBox(this, QStringLiteral("菜名不能为空！"), kCaution,
                                      MessageIcon::Warning, MessageButton::Ok);
        return;
    }
    if ((!modify || name != services_.state.OriginalRecipeName) && nameTaken(name)) {
        services_.dialogs->messageBox(this,
                                      QStringLiteral("菜名不能相同,已经存在这个菜名了,请检查！"),
                                      kCaution, MessageIcon::Warning, MessageButton::Ok);
        ed1->setFocus();
        return;
    }
    Dataset& go = dm_.goQuery;
    try {
        if (modify)
            go.edit();
        else
            go.append();
        writeRecipe(go, enteredRecipe());
        go.post();
        go.close();
        go.open();
    } catch (const DatabaseError&) {
        if (go.state() == Dataset::State::Insert || go.state() == Dataset::State::Edit)
            go.cancel();
        services_.dialogs->messageBox(this, QStringLiteral("储存出错，请检查"), kCaution,
                                      MessageIcon::Error, MessageButton::Ok);
        return;
    }
    close();
    if (TmyfoodForm* browser = currentRecipeBrowser())
        browser->BuildRecipeTree();
}

void TmyfoodaddForm::AddBtnClick() {
    save(false);
}

void TmyfoodaddForm::ModifyBtnClick() {
    save(true);
}

void TmyfoodaddForm::DelSbClick() {
    close();
}

TmyfoodaddForm* currentRecipeEditor() {
    return openEditor;
}

} // namespace tx
