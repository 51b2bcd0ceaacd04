#include "dosimport/windows/frm_import_files.h"

#include "platform/dialogs.h"
#include "platform/qt/window_support.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStorageInfo>
#include <QVBoxLayout>
#include <algorithm>

namespace {

const QString kNoFiles = QStringLiteral("No Flyer Files Found");
const QString kParentFolder = QStringLiteral("..");

template <typename T> T* named(T* widget, const QString& name)
{
    widget->setObjectName(name);
    return widget;
}

// A caption naming the control under it (its buddy), so that the control is labelled for every reader.
QLabel* caption(QWidget* parent, const QString& text, QWidget* buddy = nullptr)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString());
    label->setBuddy(buddy);
    return label;
}

} // namespace

frmImportFiles::frmImportFiles(const QString& databasePath, const QString& startFolder, Dialogs& dialogs,
                               Progress& progress, ConfigurationUpdate updateConfiguration,
                               OpenClubs openClubs, QWidget* parent)
    : QWidget(parent, Qt::Window), m_dialogs(dialogs), m_updateConfiguration(std::move(updateConfiguration)),
      m_openClubs(std::move(openClubs)), m_import(std::make_unique<DosImport>(m_database, dialogs, progress))
{
    setObjectName(QStringLiteral("frmImportFiles"));
    setWindowTitle(QStringLiteral("Import Files"));
    setAttribute(Qt::WA_DeleteOnClose);
    buildLayout();
    fillDrives();

    cmdSend->setEnabled(false);
    const DbResult opened = m_database.open(databasePath);
    if (!opened.ok()) {
        m_dialogs.inform(opened.description);
        return;
    }
    const Fetched<std::vector<Club>> clubs = m_data.searchClubs({});
    if (!clubs.ok()) {
        m_dialogs.inform(clubs.status.description);
        return;
    }
    if (clubs.value.empty()) {
        m_dialogs.inform(QStringLiteral("You must first enter a club"));
        if (m_openClubs)
            m_openClubs();
        return;
    }
    m_clubs = clubs.value;
    Label8->setText(QStringLiteral("Clubs = ") + QString::number(m_clubs.size()));
    for (const Club& club : m_clubs)
        lstClubs->addItem(club.ClubName);
    lstClubs->setCurrentRow(0);

    m_folder = QDir(startFolder).absolutePath();
    setFolder(m_folder);
    Label1->setText(QStringLiteral("Please Select File"));
}

frmImportFiles::~frmImportFiles() = default;

void frmImportFiles::buildLayout()
{
    Drive1 = named(new QComboBox(this), QStringLiteral("Drive1"));
    Dir1 = named(new QListWidget(this), QStringLiteral("Dir1"));
    File1 = named(new QListWidget(this), QStringLiteral("File1"));
    lstAdminFiles = named(new QListWidget(this), QStringLiteral("lstAdminFiles"));
    lstImportFlyers = named(new QListWidget(this), QStringLiteral("lstImportFlyers"));
    lstClubs = named(new QListWidget(this), QStringLiteral("lstClubs"));
    Check1 =
        named(new QCheckBox(QStringLiteral("Import selected flyers only."), this), QStringLiteral("Check1"));
    Check2 = named(new QCheckBox(QStringLiteral("Update configuration settings for this Admin file."), this),
                   QStringLiteral("Check2"));
    cmdSend = named(new QPushButton(QStringLiteral("Import"), this), QStringLiteral("cmdSend"));
    cmdCancel = named(new QPushButton(QStringLiteral("Cancel"), this), QStringLiteral("cmdCancel"));
    Label1 = named(new QLabel(this), QStringLiteral("Label1"));
    Label8 = named(new QLabel(this), QStringLiteral("Label8"));
    m_folderPath = named(new QLabel(this), QStringLiteral("lblFolder"));
    m_folderPath->setWordWrap(true);

    lstImportFlyers->setFont(admin_ui::fixedPitchFont());
    lstImportFlyers->setSelectionMode(QAbstractItemView::MultiSelection);
    lstImportFlyers->setMinimumWidth(
        QFontMetrics(lstImportFlyers->font()).horizontalAdvance(QString(28, u'W')));
    lstImportFlyers->setMinimumHeight(260);
    Dir1->setMinimumWidth(200);
    File1->setMaximumHeight(90);
    // Wide enough for its longest entry, the note that no files were found.
    const int adminFilesWidth = QFontMetrics(lstAdminFiles->font()).horizontalAdvance(kNoFiles) + 24;
    lstAdminFiles->setMinimumWidth(adminFilesWidth);
    lstAdminFiles->setMaximumWidth(std::max(170, adminFilesWidth));
    lstClubs->setMinimumWidth(160);

    auto* search = new QVBoxLayout;
    search->addWidget(caption(this, QStringLiteral("Search for Admin Files"), Drive1));
    search->addWidget(Drive1);
    search->addWidget(caption(this, QStringLiteral("Double click on folders"), Dir1));
    search->addWidget(m_folderPath);
    search->addWidget(Dir1, 1);
    search->addWidget(caption(this, QStringLiteral("Files found (S??????.DAT)"), File1));
    search->addWidget(File1);

    auto* files = new QVBoxLayout;
    files->addWidget(caption(this, QStringLiteral("Administration Files"), lstAdminFiles));
    files->addWidget(lstAdminFiles, 1);
    files->addWidget(Label1);

    auto* flyers = new QVBoxLayout;
    flyers->addWidget(caption(this, QStringLiteral("Flyer List"), lstImportFlyers));
    flyers->addWidget(lstImportFlyers, 1);
    flyers->addWidget(caption(this, QStringLiteral("[X] = Imported already")));
    flyers->addWidget(Check1);
    flyers->addWidget(Check2);

    auto* clubs = new QVBoxLayout;
    clubs->addWidget(caption(this, QStringLiteral("Choose club"), lstClubs));
    clubs->addWidget(lstClubs, 1);
    clubs->addWidget(Label8);
    clubs->addSpacing(12);
    clubs->addWidget(cmdSend);
    clubs->addWidget(cmdCancel);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(search, 3);
    layout->addLayout(files, 2);
    layout->addLayout(flyers, 4);
    layout->addLayout(clubs, 2);

    connect(Drive1, &QComboBox::activated, this, &frmImportFiles::driveChosen);
    connect(Dir1, &QListWidget::itemClicked, this, [this] {
        lstAdminFiles->clear();
        lstImportFlyers->clear();
    });
    // Activated: a double click, or Enter on the entry.
    connect(Dir1, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { folderDoubleClicked(Dir1->row(item)); });
    connect(lstAdminFiles, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { chooseAdminFile(lstAdminFiles->row(item)); });
    admin_ui::onEnterKey(lstAdminFiles, [this] { chooseAdminFile(lstAdminFiles->currentRow()); });
    connect(lstImportFlyers, &QListWidget::itemClicked, this, [this] { Label1->hide(); });
    connect(cmdSend, &QPushButton::clicked, this, &frmImportFiles::pressImport);
    connect(cmdCancel, &QPushButton::clicked, this, &QWidget::close);
    admin_ui::keyboardDefaults(this, nullptr, cmdCancel);
}

void frmImportFiles::fillDrives()
{
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady())
            Drive1->addItem(volume.rootPath());
    }
}

void frmImportFiles::driveChosen(int index)
{
    const QString root = Drive1->itemText(index);
    if (!root.isEmpty())
        setFolder(root);
}

void frmImportFiles::folderDoubleClicked(int row)
{
    QListWidgetItem* item = Dir1->item(row);
    if (!item)
        return;
    QDir dir(m_folder);
    if (item->text() == kParentFolder ? dir.cdUp() : dir.cd(item->text()))
        setFolder(dir.absolutePath());
}

void frmImportFiles::setFolder(const QString& folder)
{
    m_folder = QDir(folder).absolutePath();
    m_folderPath->setText(QDir::toNativeSeparators(m_folder));
    {
        const QSignalBlocker blocker(Drive1);
        const int drive = Drive1->findText(QStorageInfo(m_folder).rootPath());
        if (drive >= 0)
            Drive1->setCurrentIndex(drive);
    }
    Dir1->clear();
    if (!QDir(m_folder).isRoot())
        Dir1->addItem(kParentFolder);
    Dir1->addItems(
        QDir(m_folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase));

    m_import->clear();
    lstImportFlyers->clear();
    cmdSend->setEnabled(false);
    listFiles();
    showStatus(QStringLiteral("Files = ") + QString::number(File1->count()));
}

void frmImportFiles::listFiles()
{
    File1->clear();
    File1->addItems(listAdminFiles(m_folder));
    lstAdminFiles->clear();
    if (File1->count() == 0) {
        lstAdminFiles->addItem(kNoFiles);
        return;
    }
    for (int i = 1; i <= File1->count(); ++i)
        lstAdminFiles->addItem(QStringLiteral("Admin File ") + QString::number(i));
}

void frmImportFiles::chooseAdminFile(int row)
{
    if (row < 0 || row >= File1->count())
        return;
    Label1->hide();
    cmdSend->setEnabled(true);
    const QString name = File1->item(row)->text();
    m_import->chooseFile(QDir(m_folder).filePath(name));
    setWindowTitle(m_import->windowTitle());
    fillFlyerList();
}

void frmImportFiles::fillFlyerList()
{
    lstImportFlyers->clear();
    for (const DosImport::Entry& entry : m_import->entries())
        lstImportFlyers->addItem(entry.text);
    if (m_import->newFlyers() == 0)
        cmdSend->setEnabled(false);
}

void frmImportFiles::showStatus(const QString& text)
{
    Label1->setText(text);
    Label1->show();
}

void frmImportFiles::pressImport()
{
    if (m_import->newFlyers() == 0) {
        showStatus(kAlreadyImportedStatus);
        cmdSend->setEnabled(false);
        return;
    }
    const int clubRow = std::max(lstClubs->currentRow(), 0);
    if (m_clubs.empty())
        return;
    // The stored ClubID of the chosen club: list positions and IDs differ once IDs have gaps.
    const int clubId = m_clubs[static_cast<size_t>(std::min<int>(clubRow, int(m_clubs.size()) - 1))].ClubID;

    std::optional<std::vector<int>> selected;
    if (Check1->isChecked()) {
        selected.emplace();
        for (int i = 0; i < lstImportFlyers->count(); ++i) {
            if (lstImportFlyers->item(i)->isSelected())
                selected->push_back(i);
        }
    }
    showStatus(m_import->import(clubId, selected));
    if (Check2->isChecked() && m_updateConfiguration) {
        const QString name = m_import->fileName();
        m_updateConfiguration(concourseOfFileName(name), combineOfFileName(name));
    }
    fillFlyerList();
}

void frmImportFiles::closeEvent(QCloseEvent* event)
{
    m_database.close();
    event->accept();
}
