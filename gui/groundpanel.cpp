#include "groundpanel.h"

#include "calculators/ground.h"
#include "gui/listtable.h"

#include <QLineEdit>

namespace {

// each row's field and the label that names it
constexpr std::pair<const char*, const char*> kRows[] = {
    {"groundLabel1", "layersx"}, {"groundLabel2", "waterx"}, {"groundLabel3", "gwx"},
    {"groundLabel4", "loadsx"},  {"groundLabel5", "khx"},    {"groundLabel6", "tensionx"},
};

QStringList headerOf(std::span<const std::string_view> columns) {
    QStringList header;
    for (const std::string_view c : columns) {
        header << QString::fromUtf8(c.data(), qsizetype(c.size()));
    }
    return header;
}

} // namespace

std::vector<ControlSpec> groundRows(const GroundRows& place) {
    std::vector<ControlSpec> rows;
    const std::size_t count = place.tension ? 6 : 5;
    for (std::size_t i = 0; i < count; ++i) {
        const auto& [label, field] = kRows[i];
        const int top = place.top + static_cast<int>(i) * place.pitch;
        const bool list = i == 5; // the tension rule: a list of its words
        rows.push_back({Kind::Label,
                        label,
                        {},
                        place.left,
                        top + 15,
                        place.labelWidth,
                        255,
                        place.frame,
                        field});
        rows.push_back({list ? Kind::Combo : Kind::Field,
                        field,
                        {},
                        place.left + place.labelWidth,
                        list ? top - 15 : top,
                        place.fieldWidth,
                        list ? 300 : 270,
                        place.frame});
    }
    return rows;
}

QTabWidget* addGroundTables(QWidget* window, int left, int top, int width, int height) {
    const auto edit = [window](const char* name) { return control<QLineEdit>(window, name); };
    auto* tables = new QTabWidget(window);
    tables->setObjectName(QStringLiteral("tablesx"));
    setTwipsGeometry(tables, left, top, width, height);
    using namespace subprogram::ground;
    tables->addTab(new ListTable(tables, headerOf(kStrataHeader), {edit("layersx")}),
                   QString::fromUtf8(kStrataTitle.data(), qsizetype(kStrataTitle.size())));
    tables->addTab(new ListTable(tables, headerOf(kLoadsHeader), {edit("loadsx")}),
                   QString::fromUtf8(kLoadsTitle.data(), qsizetype(kLoadsTitle.size())));
    return tables;
}
