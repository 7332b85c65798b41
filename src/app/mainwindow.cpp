#include "app/mainwindow.h"

#include "app/optionsactions.h"
#include "app/playerwiring.h"
#include "app/symbollabel.h"
#include "app/windowcontrols.h"
#include "platform/clicklabel.h"
#include "platform/directorylistbox.h"
#include "platform/filelistbox.h"
#include "platform/fonts.h"
#include "platform/stringlistview.h"
#include "platform/twips.h"
#include "player/mediaplayer.h"
#include "player/playeractions.h"
#include "player/playerstate.h"
#include "styles/stylechooser.h"
#include "styles/styleeditor.h"
#include "windows/aboutwindow.h"
#include "windows/artwork.h"
#include "windows/commandlist.h"
#include "windows/optionsmenu.h"
#include "windows/pathchooser.h"
#include "windows/songpicker.h"

#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>

namespace {

constexpr int WidthTwips = 4725;
constexpr int HeightTwips = 3975;

} // namespace

Form1::Form1(ProgramCore &core)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint)
    , m_core(core)
    , m_environment(core.environment())
    , MediaPlayer1(m_environment.player)
{
    setWindowTitle(QString::fromUtf8("Ðûñ²"));
    setWindowIcon(programIcon());
    placeControls();
    connectControls();
}

Form1::~Form1() = default;

Form2 &Form1::form2()
{
    if (!m_form2)
        m_form2 = std::make_unique<Form2>(PathChooserLinks{m_environment.desktop, m_environment.terminal, *this,
                                                           [this](const QString &p) {
                                                               mpath = p;
                                                               path->setText(readablePath(p));
                                                               File1->setPath(p);
                                                               m_core.storePreference("iNfO", "mp3 path", p);
                                                           },
                                                           Handle});
    return *m_form2;
}

Form3 &Form1::form3()
{
    if (!m_form3)
        m_form3 = std::make_unique<Form3>(
            PickerLinks{*playerActions, *chat2, m_environment.desktop, *this});
    return *m_form3;
}

Form4 &Form1::form4()
{
    if (!m_form4) {
        m_form4 = std::make_unique<Form4>(StyleChooserLinks{m_environment.home, style, m_environment.desktop, this});
        // Only once it is in m_form4: the load lets events run, and they may
        // reach for the chooser again.
        m_form4->load();
    }
    return *m_form4;
}

Form5 &Form1::form5()
{
    if (!m_form5)
        m_form5 = std::make_unique<Form5>(optionsActionsFor(*this));
    return *m_form5;
}

Form6 &Form1::form6()
{
    if (!m_form6)
        m_form6 = std::make_unique<Form6>(StyleEditorLinks{m_environment.home, m_environment.messageBox, announcer,
                                                           this, [this]() -> Form4 & { return form4(); },
                                                           [this] { unloadForm6(); }});
    return *m_form6;
}

void Form1::unloadForm6()
{
    // Later: the editor may be the one asking, so it goes once it has returned.
    if (m_form6)
        m_form6.release()->deleteLater();
}

Form7 &Form1::form7()
{
    if (!m_form7)
        m_form7 = std::make_unique<Form7>(*this);
    return *m_form7;
}

Form8 &Form1::form8()
{
    if (!m_form8)
        m_form8 = std::make_unique<Form8>(announcer, *this);
    return *m_form8;
}

void Form1::clearPickerList()
{
    if (m_form3)
        m_form3->List1->clear();
}

void Form1::placeControls()
{
    const QFont tahoma = tahomaFont();

    Label4 = new ClickLabel(QString::fromUtf8("     Ðûñ²          by Ðûñnet"), this);
    Label4->setFont(tahomaFont(true));
    placeInTwips(Label4, 240, 0, 3715, 240);
    Label7 = new SymbolLabel(SymbolLabel::Symbol::UpArrow, this);
    placeInTwips(Label7, 3720, 60, 240, 180);
    // At full height only roll up is on offer; each roll click swaps them.
    Label3 = new SymbolLabel(SymbolLabel::Symbol::DownArrow, this);
    placeInTwips(Label3, 3720, 60, 240, 180);
    Label3->hide();
    Label6 = new ClickLabel("-", this);
    Label6->setFont(arialFont(true));
    Label6->setAlignment(Qt::AlignCenter);
    placeInTwips(Label6, 3960, 0, 240, 240);
    Label2 = new ClickLabel(" x", this);
    Label2->setFont(arialFont());
    placeInTwips(Label2, 4200, 0, 285, 240);

    File1 = new FileListBox(this, &playerState().tracks());
    File1->setFont(tahoma);
    placeInTwips(File1, 240, 240, 4215, 1785);

    Label1 = new QLabel("Mp3 Path:", this);
    Label1->setFont(tahoma);
    // Widths that hold the captions in the fallback face too, which is
    // wider than Tahoma.
    placeInTwips(Label1, 240, 2040, 900, 285);
    path = new QLineEdit(this);
    path->setFont(tahoma);
    path->setReadOnly(true);
    path->setText(readablePath(mpath));
    placeInTwips(path, 1140, 2040, 1500, 285);
    Label5 = new ClickLabel("New Path", this);
    Label5->setFont(tahoma);
    placeInTwips(Label5, 2700, 2040, 870, 285);
    refresh = new ClickLabel("Refresh", this);
    refresh->setFont(tahoma);
    placeInTwips(refresh, 3630, 2040, 825, 285);

    using Symbol = SymbolLabel::Symbol;
    const std::pair<ClickLabel **, Symbol> buttons[] = {
        {&last, Symbol::Previous}, {&play, Symbol::Play}, {&stop, Symbol::Stop},
        {&pause, Symbol::Pause},   {&next, Symbol::Next}};
    int left = 240;
    for (auto [button, symbol] : buttons) {
        *button = new SymbolLabel(symbol, this);
        (*button)->setFont(tahoma);
        placeInTwips(*button, left, 2400, 480, 285);
        left += 720;
    }
    mute = new ClickLabel("Mute", this);
    mute->setFont(tahoma);
    placeInTwips(mute, 3840, 2400, 615, 285);

    Check1 = new QCheckBox("random", this);
    Check1->setFont(tahoma);
    placeInTwips(Check1, 240, 2700, 1455, 285);
    Check2 = new QCheckBox("continuous", this);
    Check2->setFont(tahoma);
    placeInTwips(Check2, 1800, 2700, 1695, 285);

    Frame1 = new QGroupBox("      volume    ", this);
    Frame1->setFont(tahoma);
    placeInTwips(Frame1, 240, 3000, 1815, 855);
    HScroll1 = new QScrollBar(Qt::Horizontal, Frame1);
    HScroll1->setRange(1, 100);
    HScroll1->setValue(1);
    placeInTwips(HScroll1, 120, 300, 1095, 255);
    volume1 = new QLabel("100%", Frame1);
    placeInTwips(volume1, 1260, 300, 495, 255);

    Label8 = new ClickLabel("options", this);
    Label8->setFont(tahoma);
    Label8->setAlignment(Qt::AlignCenter);
    placeInTwips(Label8, 2055, 3360, 600, 285);

    Frame3 = new QGroupBox("    balance     ", this);
    Frame3->setFont(tahoma);
    placeInTwips(Frame3, 2655, 3000, 1815, 855);
    HScroll3 = new QScrollBar(Qt::Horizontal, Frame3);
    HScroll3->setRange(-5000, 5000);
    HScroll3->setValue(0);
    placeInTwips(HScroll3, 120, 300, 1095, 255);
    Label9 = new QLabel("center", Frame3);
    placeInTwips(Label9, 1260, 300, 540, 255);

    resize(twipsToPixelsX(WidthTwips, this), twipsToPixelsY(HeightTwips, this));
}

void Form1::connectControls()
{
    connectPlayerControls(*this);
    connectWindowControls(*this);
}
