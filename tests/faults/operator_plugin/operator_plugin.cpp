// The scripted operator as a Qt generic plugin: the real program, started with
// QT_PLUGIN_PATH naming this plugin's root and QT_QPA_GENERIC_PLUGINS=qdaxoperator:<script>,
// gets the operator at start-up without a line of its own changed.
#include <QGenericPlugin>
#include <cstdio>

#include "tests/faults/operator_plugin/operator_script.h"
#include "tests/faults/operator_plugin/scripted_operator.h"

class OperatorPlugin : public QGenericPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "operator_plugin.json")

public:
    QObject* create(const QString& key, const QString& scriptText) override {
        if (key != QLatin1String("qdaxoperator")) return nullptr;
        const std::optional<qdax_operator::OperatorScript> script =
            qdax_operator::ParseOperatorScript(scriptText);
        if (!script) {
            std::printf("operator: cannot read the script %s\n", qPrintable(scriptText));
            std::fflush(stdout);
            return nullptr;
        }
        return new qdax_operator::ScriptedOperator(*script);
    }
};

#include "operator_plugin.moc"
