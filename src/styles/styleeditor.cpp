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

StyleEditor::StyleEditor(StyleEditorLinks links, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_links(std::move(links))
{
    setWindowTitle(QString::fromUtf8("Ðûñ²"));
    creditLabel = new QLabel(QString::fromUtf8("  Ðûñ²    by Ðûñnet"), this);
    nameCaption = new QLabel("name:", this);
    nameBox = new QLineEdit(this);
    asciiCaption = new QLabel("ascii:", this);
    asciiBox = new QLineEdit(this);
    acolorCaption = new QLabel("acolor:", this);
    acolorBox = new QLineEdit(this);
    fcolorCaption = new QLabel("fcolor:", this);
    fcolorBox = new QLineEdit(this);
    okLabel = new ClickLabel("ok", this);
    backLabel = new ClickLabel("back", this);

    auto *fields = new QFormLayout;
    fields->addRow(nameCaption, nameBox);
    fields->addRow(asciiCaption, asciiBox);
    fields->addRow(acolorCaption, acolorBox);
    fields->addRow(fcolorCaption, fcolorBox);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(okLabel);
    buttons->addWidget(backLabel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(creditLabel);
    layout->addLayout(fields);
    layout->addLayout(buttons);

    connect(okLabel, &ClickLabel::clicked, this, &StyleEditor::save);
    connect(backLabel, &ClickLabel::clicked, this, &StyleEditor::back);
    closeAsWayOut(this, backLabel);
}

bool StyleEditor::fieldsFilled()
{
    // Only a field with no characters at all is empty: one space is a value.
    const std::pair<QLineEdit *, const char *> fields[] = {
        {nameBox, "name"}, {asciiBox, "ascii"}, {acolorBox, "acolor"}, {fcolorBox, "fcolor"}};
    for (auto [field, what] : fields) {
        if (field->text().isEmpty()) {
            m_links.messageBox.show(QStringLiteral("Please fill in the %1 of your style.").arg(what), Title);
            return false;
        }
    }
    return true;
}

void StyleEditor::save()
{
    if (!fieldsFilled())
        return;
    const StyleValues style{nameBox->text(), asciiBox->text(), acolorBox->text(), fcolorBox->text()};
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
    const QPointer<StyleEditor> self(this);
    const std::function<void()> unload = m_links.unload;
    StyleChooser &chooser = m_links.chooser();
    chooser.rebuildStyleList();
    if (self)
        unload();
    chooser.show();
}

void StyleEditor::back()
{
    emptyFields();
    m_links.mainWindow->show();
    hide();
}

void StyleEditor::emptyFields()
{
    nameBox->clear();
    asciiBox->clear();
    acolorBox->clear();
    fcolorBox->clear();
}
