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

MainWindow::MainWindow(ProgramCore &core)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint)
    , m_core(core)
    , m_environment(core.environment())
{
    setWindowTitle(QString::fromUtf8("Ðûñ²"));
    setWindowIcon(programIcon());
    placeControls();
    connectControls();
}

MainWindow::~MainWindow() = default;

PathChooser &MainWindow::pathChooser()
{
    if (!m_pathChooser)
        m_pathChooser = std::make_unique<PathChooser>(PathChooserLinks{
            m_environment.terminal, *this, [this](const QString &p) { m_core.useMusicFolder(p); }});
    return *m_pathChooser;
}

SongPicker &MainWindow::songPicker()
{
    if (!m_songPicker)
        m_songPicker = std::make_unique<SongPicker>(
            PickerLinks{*m_core.playerActions, *m_core.searchScan, m_environment.desktop, *this});
    return *m_songPicker;
}

StyleChooser &MainWindow::styleChooser()
{
    if (!m_styleChooser) {
        m_styleChooser = std::make_unique<StyleChooser>(StyleChooserLinks{m_environment.home, m_core.settings.style, m_environment.desktop, this});
        // Only once it is in m_styleChooser: the load lets events run, and they may
        // reach for the chooser again.
        m_styleChooser->load();
    }
    return *m_styleChooser;
}

OptionsMenu &MainWindow::optionsMenu()
{
    if (!m_optionsMenu)
        m_optionsMenu = std::make_unique<OptionsMenu>(optionsActionsFor(*this));
    return *m_optionsMenu;
}

StyleEditor &MainWindow::styleEditor()
{
    if (!m_styleEditor)
        m_styleEditor = std::make_unique<StyleEditor>(StyleEditorLinks{m_environment.home, m_environment.messageBox, m_core.announcer,
                                                           this, [this]() -> StyleChooser & { return styleChooser(); },
                                                           [this] { unloadStyleEditor(); }});
    return *m_styleEditor;
}

void MainWindow::unloadStyleEditor()
{
    // Later: the editor may be the one asking, so it goes once it has returned.
    if (m_styleEditor)
        m_styleEditor.release()->deleteLater();
}

AboutWindow &MainWindow::aboutWindow()
{
    if (!m_aboutWindow)
        m_aboutWindow = std::make_unique<AboutWindow>(*this);
    return *m_aboutWindow;
}

CommandList &MainWindow::commandList()
{
    if (!m_commandList)
        m_commandList = std::make_unique<CommandList>(m_core.announcer, *this);
    return *m_commandList;
}

void MainWindow::clearPickerList()
{
    if (m_songPicker)
        m_songPicker->matchList->clear();
}

void MainWindow::placeControls()
{
    const QFont tahoma = tahomaFont();

    titleLabel = new ClickLabel(QString::fromUtf8("     Ðûñ²          by Ðûñnet"), this);
    titleLabel->setFont(tahomaFont(true));
    placeInTwips(titleLabel, 240, 0, 3715, 240);
    rollUpLabel = new SymbolLabel(SymbolLabel::Symbol::UpArrow, this);
    placeInTwips(rollUpLabel, 3720, 60, 240, 180);
    // At full height only roll up is on offer; each roll click swaps them.
    rollDownLabel = new SymbolLabel(SymbolLabel::Symbol::DownArrow, this);
    placeInTwips(rollDownLabel, 3720, 60, 240, 180);
    rollDownLabel->hide();
    minimiseLabel = new ClickLabel("-", this);
    minimiseLabel->setFont(arialFont(true));
    minimiseLabel->setAlignment(Qt::AlignCenter);
    placeInTwips(minimiseLabel, 3960, 0, 240, 240);
    closeLabel = new ClickLabel(" x", this);
    closeLabel->setFont(arialFont());
    placeInTwips(closeLabel, 4200, 0, 285, 240);

    trackList = new FileListBox(this, &playerState().tracks());
    trackList->setFont(tahoma);
    placeInTwips(trackList, 240, 240, 4215, 1785);

    pathCaption = new QLabel("Mp3 Path:", this);
    pathCaption->setFont(tahoma);
    // Widths that hold the captions in the fallback face too, which is
    // wider than Tahoma.
    placeInTwips(pathCaption, 240, 2040, 900, 285);
    path = new QLineEdit(this);
    path->setFont(tahoma);
    path->setReadOnly(true);
    showMusicFolder(m_core.settings.musicFolder);
    placeInTwips(path, 1140, 2040, 1500, 285);
    newPathLabel = new ClickLabel("New Path", this);
    newPathLabel->setFont(tahoma);
    placeInTwips(newPathLabel, 2700, 2040, 870, 285);
    refreshLabel = new ClickLabel("Refresh", this);
    refreshLabel->setFont(tahoma);
    placeInTwips(refreshLabel, 3630, 2040, 825, 285);

    using Symbol = SymbolLabel::Symbol;
    const std::pair<ClickLabel **, Symbol> buttons[] = {
        {&previousLabel, Symbol::Previous}, {&playLabel, Symbol::Play}, {&stopLabel, Symbol::Stop},
        {&pauseLabel, Symbol::Pause},   {&nextLabel, Symbol::Next}};
    int left = 240;
    for (auto [button, symbol] : buttons) {
        *button = new SymbolLabel(symbol, this);
        (*button)->setFont(tahoma);
        placeInTwips(*button, left, 2400, 480, 285);
        left += 720;
    }
    muteLabel = new ClickLabel("Mute", this);
    muteLabel->setFont(tahoma);
    placeInTwips(muteLabel, 3840, 2400, 615, 285);

    randomBox = new QCheckBox("random", this);
    randomBox->setFont(tahoma);
    placeInTwips(randomBox, 240, 2700, 1455, 285);
    continuousBox = new QCheckBox("continuous", this);
    continuousBox->setFont(tahoma);
    placeInTwips(continuousBox, 1800, 2700, 1695, 285);

    volumeFrame = new QGroupBox("      volume    ", this);
    volumeFrame->setFont(tahoma);
    placeInTwips(volumeFrame, 240, 3000, 1815, 855);
    volumeBar = new QScrollBar(Qt::Horizontal, volumeFrame);
    volumeBar->setRange(1, 100);
    volumeBar->setValue(1);
    placeInTwips(volumeBar, 120, 300, 1095, 255);
    volumeLabel = new QLabel("100%", volumeFrame);
    placeInTwips(volumeLabel, 1260, 300, 495, 255);

    optionsLabel = new ClickLabel("options", this);
    optionsLabel->setFont(tahoma);
    optionsLabel->setAlignment(Qt::AlignCenter);
    placeInTwips(optionsLabel, 2055, 3360, 600, 285);

    balanceFrame = new QGroupBox("    balance     ", this);
    balanceFrame->setFont(tahoma);
    placeInTwips(balanceFrame, 2655, 3000, 1815, 855);
    balanceBar = new QScrollBar(Qt::Horizontal, balanceFrame);
    balanceBar->setRange(-5000, 5000);
    balanceBar->setValue(0);
    placeInTwips(balanceBar, 120, 300, 1095, 255);
    balanceLabel = new QLabel("center", balanceFrame);
    placeInTwips(balanceLabel, 1260, 300, 540, 255);

    resize(twipsToPixelsX(WidthTwips, this), twipsToPixelsY(HeightTwips, this));

    // Named as in the code, for tools and tests that look for them.
    const std::pair<QWidget *, const char *> names[] = {
        {titleLabel, "titleLabel"},       {rollUpLabel, "rollUpLabel"},     {rollDownLabel, "rollDownLabel"},
        {minimiseLabel, "minimiseLabel"}, {closeLabel, "closeLabel"},       {trackList, "trackList"},
        {pathCaption, "pathCaption"},     {path, "path"},                   {newPathLabel, "newPathLabel"},
        {refreshLabel, "refreshLabel"},   {previousLabel, "previousLabel"}, {playLabel, "playLabel"},
        {stopLabel, "stopLabel"},         {pauseLabel, "pauseLabel"},       {nextLabel, "nextLabel"},
        {muteLabel, "muteLabel"},         {randomBox, "randomBox"},         {continuousBox, "continuousBox"},
        {volumeFrame, "volumeFrame"},     {volumeBar, "volumeBar"},         {volumeLabel, "volumeLabel"},
        {optionsLabel, "optionsLabel"},   {balanceFrame, "balanceFrame"},   {balanceBar, "balanceBar"},
        {balanceLabel, "balanceLabel"}};
    for (auto [control, name] : names)
        control->setObjectName(name);
}

void MainWindow::showMusicFolder(const QString &folder)
{
    path->setText(readablePath(folder));
}

void MainWindow::showRollGlyph(bool rolledUp)
{
    rollDownLabel->setVisible(rolledUp);
    rollUpLabel->setVisible(!rolledUp);
}

void MainWindow::connectControls()
{
    connectPlayerControls(*this);
    connectWindowControls(*this);
}
