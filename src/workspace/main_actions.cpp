#include "workspace/main_actions.h"

#include <QAction>
#include <QWidget>

namespace cel::workspace {

MainActions::MainActions(QWidget *window) : window_(window) {
    const struct {
        Command command;
        const char *name, *text;
        QKeySequence shortcut;
    } commands[] = {
        {Command::Open, "ActAbrir", "&Abrir", QKeySequence(Qt::CTRL | Qt::Key_O)},
        {Command::Manager, "ActTarjaro", "&Tarjaro", {}},
        {Command::Print, "ActImprimir", "Imprimir", QKeySequence(Qt::CTRL | Qt::Key_P)},
        {Command::Preview, "ActPreliminar", "Impresión preliminar", {}},
        {Command::ExportRtf, "ActRtf", "Exportar a archivo RTF", {}},
        {Command::Settings, "ActConfiguracion", "&Configuración", {}},
        {Command::StepBack, "ActPasoAtras", "Atrás", QKeySequence(Qt::ALT | Qt::Key_Left)},
        {Command::StepForward, "ActPasoAdelante", "Adelante", QKeySequence(Qt::ALT | Qt::Key_Right)},
        {Command::Today, "ActHoy", "&Hoy a las cero horas", {}},
        {Command::Now, "ActAhora", "Ah&ora", {}},
        {Command::Birth, "ActNacimiento", "Na&cimiento", {}},
        {Command::NewPerson, "ActNueva", "&Nueva", QKeySequence(Qt::CTRL | Qt::Key_N)},
        {Command::EditPerson, "ActEditar", "&Editar", {}},
        {Command::DeletePerson, "ActEliminar", "E&liminar", {}},
        {Command::Help, "ActAyuda", "A&yuda", QKeySequence(Qt::Key_F1)},
        {Command::Close, "ActCerrar", "Ce&rrar", QKeySequence(Qt::CTRL | Qt::Key_Q)},
    };
    for (const auto &c : commands) {
        auto *action = new QAction(QString::fromUtf8(c.text), window);
        action->setObjectName(c.name);
        action->setShortcut(c.shortcut);
        // Only the stepping repeats while its key is held.
        action->setAutoRepeat(c.command == Command::StepBack || c.command == Command::StepForward);
        window->addAction(action);
        actions_[static_cast<std::size_t>(c.command)] = action;
    }
    for (Command c : {Command::StepBack, Command::StepForward, Command::Today, Command::Now, Command::Birth})
        (*this)[c]->setShortcutContext(Qt::WindowShortcut);
}

void MainActions::On(Command command, std::function<void()> run) {
    QObject::connect((*this)[command], &QAction::triggered, window_, std::move(run));
}

} // namespace cel::workspace
