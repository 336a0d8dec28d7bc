#include "TWEBBIGForm.h"

#include "platform/Browser.h"
#include "platform/Services.h"
#include "web/BrowserWindowParts.h"

#include <QVBoxLayout>

namespace tx {

TWEBBIGForm* WEBBIGForm = nullptr;

TWEBBIGForm::TWEBBIGForm(Services& services, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TWEBBIGForm"));
    setUpBrowserDialog(this);
    WEBBIGForm = this;
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    WB1 = services.browsers->create(this);
    WB1->widget()->setObjectName(QStringLiteral("WB1"));
    column->addWidget(WB1->widget());
}

TWEBBIGForm::~TWEBBIGForm() {
    if (WEBBIGForm == this)
        WEBBIGForm = nullptr;
}

} // namespace tx
