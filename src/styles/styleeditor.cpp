#include "styles/styleeditor.h"

#include "chat/announcement.h"
#include "platform/clicklabel.h"
#include "platform/closeaswayout.h"
#include "platform/messagebox.h"
#include "styles/stylechooser.h"
#include "styles/stylefile.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QVBoxLayout>
#include <climits>
#include <utility>

namespace {

const QString Title = QStringLiteral("style");

} // namespace

Form6::Form6(StyleEditorLinks links, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_links(std::move(links))
{
    setWindowTitle(QString::fromUtf8("Ðûñ²"));
    Label5 = new QLabel(QString::fromUtf8("  Ðûñ²    by Ðûñnet"), this);
    Label1 = new QLabel("name:", this);
    Text1 = new QLineEdit(this);
    Label2 = new QLabel("ascii:", this);
    Text2 = new QLineEdit(this);
    Label3 = new QLabel("acolor:", this);
    text3 = new QLineEdit(this);
    Label4 = new QLabel("fcolor:", this);
    Text4 = new QLineEdit(this);
    Label6 = new ClickLabel("ok", this);
    Label7 = new ClickLabel("back", this);

    auto *fields = new QFormLayout;
    fields->addRow(Label1, Text1);
    fields->addRow(Label2, Text2);
    fields->addRow(Label3, text3);
    fields->addRow(Label4, Text4);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(Label6);
    buttons->addWidget(Label7);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label5);
    layout->addLayout(fields);
    layout->addLayout(buttons);

    connect(Label6, &ClickLabel::clicked, this, &Form6::save);
    connect(Label7, &ClickLabel::clicked, this, &Form6::back);
    closeAsWayOut(this, Label7);
}

bool Form6::fieldsFilled()
{
    // Only a field with no characters at all is empty: one space is a value.
    const std::pair<QLineEdit *, const char *> fields[] = {
        {Text1, "name"}, {Text2, "ascii"}, {text3, "acolor"}, {Text4, "fcolor"}};
    for (auto [field, what] : fields) {
        if (field->text().isEmpty()) {
            m_links.messageBox.show(QStringLiteral("Please fill in the %1 of your style.").arg(what), Title);
            return false;
        }
    }
    return true;
}

void Form6::save()
{
    if (!fieldsFilled())
        return;
    const StyleValues style{Text1->text(), Text2->text(), text3->text(), Text4->text()};
    switch (saveStyle(m_links.home, style)) {
    case StyleSaveResult::UnsafeName:
        m_links.messageBox.show(QStringLiteral("A style's name is the name of its file: it cannot hold \"/\", "
                                               "line breaks or other control characters, start with \".\" or "
                                               "be longer than %1 bytes. Please choose another name for your "
                                               "style.")
                                    .arg(NAME_MAX - 4),
                                Title);
        return;
    case StyleSaveResult::Failed:
        m_links.messageBox.show("Your style could not be saved in " + StylesDirectory(m_links.home) + ".", Title);
        return;
    case StyleSaveResult::Saved:
        break;
    }
    // The name goes into the line as typed, HTML and all: it is the user's
    // own text for their own room, like the decoration itself.
    m_links.announcer.announce("<b>style</b> " + style.name + " saved");
    emptyFields();
    // Rebuilding the list lets events run; a second save among them may
    // already have unloaded this editor.
    const QPointer<Form6> self(this);
    const std::function<void()> unload = m_links.unload;
    Form4 &chooser = m_links.chooser();
    chooser.rebuildStyleList();
    if (self)
        unload();
    chooser.show();
}

void Form6::back()
{
    emptyFields();
    m_links.mainWindow->show();
    hide();
}

void Form6::emptyFields()
{
    Text1->clear();
    Text2->clear();
    text3->clear();
    Text4->clear();
}
