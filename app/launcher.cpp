#include "launcher.h"

#include "app/help.h"
#include "app/titleoutline.h"
#include "gui/formbuilder.h"
#include "gui/screenfit.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QSettings>
#include <QShortcut>

#include <cmath>

namespace {

const QString kRecentKey = QStringLiteral("files/recent");

// clang-format off
const ControlSpec kControls[] = {
    {Kind::Label,  "name",        "边坡支护计算程序v1.0",  600,    0, 4695, 495},
    {Kind::Button, "solidstrees", "土压力计算",            120,  600, 2175, 495},
    {Kind::Button, "Command1",    "静止土压力计算",        2640,  600, 1455, 495},
    {Kind::Button, "Command2",    "退出",                  4320,  600, 1095, 495},
    {Kind::Button, "Command4",    "有限范围填土土压力计算",  120, 1200, 2175, 495},
    {Kind::Button, "anchorbar",   "锚杆计算",              2640, 1200, 1455, 495},
    {Kind::Button, "Command6",    "重力式挡墙",            4320, 1200, 1092, 492},
    // The continuous-beam button lies under Command6 and is never shown.
    {Kind::Button, "Command5",    "连续梁计算",            4320, 1200, 1095, 495, nullptr, nullptr, false},
    // A working-directory row that nothing shows or reads.
    {Kind::Label,  "direct1",     "工作目录:",              480, 2160, 1095, 255, nullptr, "Text1",  false},
    {Kind::Field,  "Text1",       "C:\\",                  1320, 2160, 1575, 270, nullptr, nullptr, false},
    {Kind::Button, "Command3",    "浏览",                  3120, 2160,  855, 375, nullptr, nullptr, false},
    {Kind::Label,  "Label1",      "欢迎试用,请提出宝贵意见,参考重庆建筑边坡支护技术规范",
                                                           3240, 2640, 2415, 375},
    // In the free space under the buttons: the recent files, the guide and the version.
    {Kind::Button, "recentFiles", "最近打开",              120, 1860, 2175, 405},
    {Kind::Button, "helpButton",  "帮助 (F1)",             120, 2520, 1035, 405},
    {Kind::Button, "aboutButton", "关于",                 1260, 2520, 1035, 405},
};
// clang-format on

// Paints the title label from the title's outlines, where the label would draw its text: the
// text stays the label's (what a screen reader reads), the face is never loaded. On a 96 dpi
// screen the outlines come filled already; on any other they are filled at its scale.
class TitlePainter : public QObject {
  public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Paint) {
            return false;
        }
        auto* label = static_cast<QLabel*>(watched);
        QPainter painter(label);
        const TitleOutline& t = kTitleOutline;
        const double scale = label->logicalDpiY() / 96.0;
        const double baseline =
            (label->height() - (t.ascent + t.descent) * scale) / 2 + t.ascent * scale;
        const QColor ink = label->palette().windowText().color();
        if (scale == 1) {
            QImage mask(t.mask, t.maskWidth, t.maskHeight, t.maskWidth, QImage::Format_Alpha8);
            QImage glyphs(mask.size(), QImage::Format_ARGB32_Premultiplied);
            glyphs.fill(ink);
            QPainter tint(&glyphs);
            tint.setCompositionMode(QPainter::CompositionMode_DestinationIn);
            tint.drawImage(0, 0, mask);
            tint.end();
            painter.drawImage(QPointF(0, std::round(baseline) - t.baseline), glyphs);
        } else {
            painter.setRenderHint(QPainter::Antialiasing);
            painter.translate(0, baseline);
            painter.scale(scale, scale);
            painter.fillPath(t.path(), ink);
        }
        return true;
    }
};

} // namespace

Launcher::Launcher(Reporter reporter) : reporter_(std::move(reporter)) {
    setObjectName(QStringLiteral("slope"));
    setWindowTitle(QStringLiteral("边坡支护计算程序"));
    setClientTwips(this, 5748, 3192);
    buildControls(this, kControls);
    auto* title = control<QLabel>(this, "name");
    title->installEventFilter(new TitlePainter(title));

    // a calculator registered with a button the original layout has not: a button of its
    // title in a row below the others, the launcher a row taller
    int added = 0;
    for (const windows::Kind& kind : windows::kinds()) {
        for (const windows::Button& button : kind.buttons) {
            const QString name =
                QString::fromUtf8(button.name.data(), static_cast<qsizetype>(button.name.size()));
            if (findChild<QPushButton*>(name)) {
                continue;
            }
            const std::string_view caption =
                kind.calculator->button.empty() ? kind.calculator->title : kind.calculator->button;
            auto* extra = new QPushButton(
                QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())), this);
            extra->setObjectName(name);
            setTwipsGeometry(extra, 120 + added % 3 * 1880, 3192 + added / 3 * 600, 1760, 495);
            ++added;
        }
    }
    if (added > 0) {
        setClientTwips(this, 5748, 3192 + (added + 2) / 3 * 600 + 120);
    }
    for (const windows::Kind& kind : windows::kinds()) {
        for (const windows::Button& button : kind.buttons) {
            const subprogram::Calculator* calculator = kind.calculator;
            connect(control<QPushButton>(this, std::string(button.name).c_str()),
                    &QPushButton::clicked, this, [this, calculator, variant = button.variant] {
                        if (const windows::Kind* k = windows::kindOf(*calculator)) {
                            showKind(*k, variant);
                        }
                    });
        }
    }
    connect(control<QPushButton>(this, "Command2"), &QPushButton::clicked, this, [this] {
        if (mayExit()) {
            emit exitRequested();
        }
    });

    connect(control<QPushButton>(this, "recentFiles"), &QPushButton::clicked, this,
            &Launcher::showRecentMenu);
    connect(control<QPushButton>(this, "helpButton"), &QPushButton::clicked, this, &showUserGuide);
    connect(control<QPushButton>(this, "aboutButton"), &QPushButton::clicked, this,
            [this] { showAbout(this); });
    // F1 in any of the program's windows
    auto* help = new QShortcut(QKeySequence::HelpContents, this, &showUserGuide);
    help->setContext(Qt::ApplicationShortcut);

    fitFixedWindow(this);
    control<QPushButton>(this, "solidstrees")->setFocus();
}

QStringList Launcher::recentFiles() {
    // capped as it is read, whatever the settings file holds
    return QSettings().value(kRecentKey).toStringList().mid(0, kRecentFiles);
}

void Launcher::remember(const QString& path) {
    QStringList files = recentFiles();
    files.removeAll(path);
    files.prepend(path);
    QSettings().setValue(kRecentKey, files.mid(0, kRecentFiles));
}

// The menu is made when it is first asked for, not at start: the launcher shows sooner.
void Launcher::showRecentMenu() {
    auto* button = control<QPushButton>(this, "recentFiles");
    if (!recentMenu_) {
        recentMenu_ = new QMenu(this);
        recentMenu_->setObjectName(QStringLiteral("recentMenu"));
    }
    fillRecentMenu();
    recentMenu_->popup(button->mapToGlobal(QPoint(0, button->height())));
}

void Launcher::fillRecentMenu() {
    recentMenu_->clear();
    const QStringList files = recentFiles();
    for (int i = 0; i < files.size(); ++i) {
        const QFileInfo file(files[i]);
        QAction* action =
            recentMenu_->addAction(QStringLiteral("&%1  %2    %3")
                                       .arg(QString::number((i + 1) % 10), file.fileName(),
                                            QDir::toNativeSeparators(file.path())));
        connect(action, &QAction::triggered, this, [this, path = files[i]] { openRecent(path); });
    }
    if (files.isEmpty()) {
        recentMenu_->addAction(QStringLiteral("（还没有保存或打开过文件）"))->setEnabled(false);
    }
}

void Launcher::openRecent(const QString& path) {
    if (!QFileInfo(path).isFile()) {
        QStringList files = recentFiles();
        files.removeAll(path);
        QSettings().setValue(kRecentKey, files);
        reporter_(this, QStringLiteral("文件“%1”已不存在，已从“最近打开”中移除。")
                            .arg(QDir::toNativeSeparators(path)));
        return;
    }
    openFile(path);
}

Launcher::~Launcher() = default;

CalculatorWindow* Launcher::window(const subprogram::Calculator& calculator) const {
    const auto slot = slots_.find(&calculator);
    return slot == slots_.end() ? nullptr : slot->second->existing();
}

CalculatorWindow* Launcher::showKind(const windows::Kind& kind, std::optional<int> variant) {
    auto& slot = slots_[kind.calculator];
    if (!slot) {
        slot = std::make_unique<WindowSlot<CalculatorWindow>>([this, create = kind.create] {
            CalculatorWindow* window = create(reporter_);
            window->setAsker(asker_);
            connect(window, &CalculatorWindow::fileUsed, this, &Launcher::remember);
            window->setOpener([this](const subprogram::SavedCalculation& saved,
                                     const QString& path) { open(saved, path); });
            window->setShower([this](const subprogram::Calculator& calculator) {
                const windows::Kind* kind = windows::kindOf(calculator);
                return kind ? showKind(*kind, std::nullopt) : nullptr;
            });
            return window;
        });
    }
    CalculatorWindow* window = slot->get();
    window->showIn(variant);
    return window;
}

CalculatorWindow* Launcher::open(const subprogram::SavedCalculation& saved, const QString& path) {
    const windows::Kind* kind = windows::kindOf(*saved.calculator);
    if (!kind) {
        reporter_(this, QStringLiteral("“%1”没有窗口，无法打开这份计算。")
                            .arg(qstring(saved.calculator->title)));
        return nullptr;
    }
    CalculatorWindow* window = showKind(*kind, std::nullopt);
    return window->openSaved(saved, path) ? window : nullptr;
}

void Launcher::openFile(const QString& path) {
    if (const auto saved = CalculatorWindow::readFile(path, reporter_, this)) {
        open(*saved, path);
    }
}

void Launcher::openFiles(const QStringList& paths) {
    QStringList refusals;
    const Reporter collect = [&refusals](QWidget*, const QString& message) { refusals << message; };
    for (const QString& path : paths) {
        if (const auto saved = CalculatorWindow::readFile(path, collect, this)) {
            open(*saved, path);
        }
    }
    if (refusals.size() == 1) {
        reporter_(this, refusals.front());
    } else if (!refusals.isEmpty()) {
        constexpr qsizetype kNamed = 10; // a message a screen can hold
        QString message = QStringLiteral("有 %1 个文件无法打开：\n").arg(refusals.size()) +
                          refusals.mid(0, kNamed).join(QLatin1Char('\n'));
        if (refusals.size() > kNamed) {
            message +=
                QStringLiteral("\n……另有 %1 个文件同样无法打开。").arg(refusals.size() - kNamed);
        }
        reporter_(this, message);
    }
}

void Launcher::setAsker(Asker asker) {
    asker_ = std::move(asker);
    for (const auto& [calculator, slot] : slots_) {
        if (CalculatorWindow* window = slot->existing()) {
            window->setAsker(asker_);
            connect(window, &CalculatorWindow::fileUsed, this, &Launcher::remember);
        }
    }
}

bool Launcher::mayExit() {
    for (const auto& [calculator, slot] : slots_) {
        CalculatorWindow* window = slot->existing();
        if (window && window->hasPendingEdits()) {
            slot->show(); // the window asking is the one in front
            if (!window->maySetAside()) {
                return false;
            }
        }
    }
    return true;
}

void Launcher::closeEvent(QCloseEvent* event) {
    // Hidden calculator windows must not keep the program running without a visible window.
    if (!mayExit()) {
        event->ignore();
        return;
    }
    event->accept();
    emit exitRequested();
}
