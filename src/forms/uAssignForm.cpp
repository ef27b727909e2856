#include "forms/uAssignForm.h"

#include "data/Messages.h"
#include "data/QueryObject.h"
#include "forms/uPub.h"

#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

QGroupBox* MakeListBox(QWidget* parent, const QString& objectName, const QString& caption, DataGrid* grid)
{
    auto* box = new QGroupBox(caption, parent);
    box->setObjectName(objectName);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    grid->setParent(box);
    layout->addWidget(grid);
    return box;
}

namespace {

QPushButton* MakeMoveButton(const QString& text, QWidget* panel, const QString& objectName, int x)
{
    QPushButton* button = MakeButton(text, panel, objectName);
    button->setFixedSize(60, 22);
    button->move(x, 9);
    // The focus stays in the list the user is working in.
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace

GridColumn ListColumn(const QString& field, const QString& title, int width)
{
    GridColumn column;
    column.field = field;
    column.title = title;
    column.width = width;
    column.titleAlignment = Qt::AlignCenter;
    return column;
}

DataGrid* MakeListGrid(QWidget* parent, const QString& objectName, QueryObject* query,
                       const QVector<GridColumn>& columns)
{
    auto* grid = new DataGrid(parent);
    grid->setObjectName(objectName);
    // Flat: a single-line border, so the declared columns fit their boxes.
    grid->setFrameShadow(QFrame::Plain);
    grid->setColumns(columns);
    grid->setQuery(query);
    return grid;
}

TAssignForm::TAssignForm(const Layout& shape, QWidget* parent) : TForm(parent), m_layout(shape)
{
    setObjectName(shape.objectName);
    setWindowTitle(shape.caption);
    setFixedClientSize(shape.clientWidth, shape.clientHeight);

    m_upper = new QueryObject(this);
    m_upper->setObjectName(shape.upperQuery);
    m_lower = new QueryObject(this);
    m_lower->setObjectName(shape.lowerQuery);

    auto* body = new QHBoxLayout(this);
    body->setContentsMargins(0, 0, 0, 0);
    body->setSpacing(0);

    m_right = new QWidget(this);
    auto* right = new QVBoxLayout(m_right);
    right->setContentsMargins(0, 0, 0, 0);
    right->setSpacing(0);
    body->addWidget(m_right, 1);

    m_upperGrid = MakeListGrid(m_right, shape.upperGrid, m_upper, shape.columns);
    m_upperBox = MakeListBox(m_right, QStringLiteral("GroupBox2"), shape.initialUpperCaption, m_upperGrid);
    m_upperBox->setFixedHeight(shape.upperHeight);
    right->addWidget(m_upperBox);

    QFrame* buttons = MakeButtonPanel(m_right, 41);
    buttons->setObjectName(QStringLiteral("Panel2"));
    m_sbUp = MakeMoveButton(QStringLiteral("↑"), buttons, QStringLiteral("sbUp"), 16);
    m_sbDown = MakeMoveButton(QStringLiteral("↓"), buttons, QStringLiteral("sbDown"), 88);
    right->addWidget(buttons);

    m_lowerGrid = MakeListGrid(m_right, shape.lowerGrid, m_lower, shape.columns);
    right->addWidget(MakeListBox(m_right, QStringLiteral("GroupBox3"), shape.lowerCaption, m_lowerGrid), 1);

    connect(m_sbUp, &QPushButton::clicked, this, Guarded([this](bool) { sbUpClick(); }));
    connect(m_sbDown, &QPushButton::clicked, this, Guarded([this](bool) { sbDownClick(); }));
    connect(m_lowerGrid, &DataGrid::dblClick, this, Guarded([this] { sbUpClick(); }));
    connect(m_upperGrid, &DataGrid::dblClick, this, Guarded([this] { sbDownClick(); }));
}

void TAssignForm::setChooser(QWidget* chooser)
{
    static_cast<QHBoxLayout*>(layout())->insertWidget(0, chooser);
    setTabOrder(chooser, m_upperGrid);
    setTabOrder(m_upperGrid, m_lowerGrid);
    chooser->setFocus();
}

bool TAssignForm::ReadyList()
{
    if (!hasChoice()) {
        nothingChosen();
        return false;
    }
    // Built before anything is closed, so a value that cannot be used leaves
    // the window as it was.
    const Statement upper = upperList();
    const Statement lower = lowerList();
    const QString caption = upperCaption();

    if (!Succeeded(m_upper->open(upper), m_layout.upperReadFailed))
        return false;
    m_upperBox->setTitle(caption);
    return Succeeded(m_lower->open(lower), Msg::ReadFailed);
}

void TAssignForm::sbUpClick()
{
    move(m_lower, true);
}

void TAssignForm::sbDownClick()
{
    move(m_upper, false);
}

void TAssignForm::move(QueryObject* from, bool assigning)
{
    if (!hasChoice() || from->isEmpty() || from->eof())
        return;
    const QString code = from->fieldText(m_layout.codeField);
    // A refused move leaves the lists showing the state before the attempt,
    // which is the stored one.
    if (assigning ? Succeeded(assign(code), Msg::InsertFailed)
                  : Succeeded(unassign(code), Msg::DeleteAssignmentFailed))
        ReadyList();
}
