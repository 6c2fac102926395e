#include "session/manager_list.h"

#include <algorithm>

namespace cel::session {

using namespace cel::database;

namespace {

const char *ListName(database::Kind kind) {
    static const char *const names[] = {"Países",         "Lugares Geográficos", "Grupo Personas",
                                        "Lista Personas", "Grupo Empresas",      "Lista Empresas"};
    return names[static_cast<int>(kind)];
}

const char *UsageHeader(database::Kind kind) {
    switch (kind) {
    case database::Kind::Country:
        return "Lugares con este País";
    case database::Kind::Place:
        return "P>L";
    case database::Kind::PersonGroup:
        return "Personas con este Grupo";
    default:
        return "Empresas con este Grupo";
    }
}

// Countries, places and person groups are refused while in use; persons and businesses never are.
bool UsageProtects(database::Kind kind) {
    return kind != database::Kind::Person && kind != database::Kind::Business;
}

bool Renumbered(database::Kind kind) {
    return kind == database::Kind::Country || kind == database::Kind::Place ||
           kind == database::Kind::PersonGroup || kind == database::Kind::Person;
}

template <class T> void RemoveRecords(RecordList<T> &list, const std::unordered_set<const TData *> &gone) {
    std::erase_if(list, [&gone](const auto &r) { return gone.contains(r.get()); });
}

} // namespace

void ManagerList::SetKind(database::Kind kind, const CivilDateTime &today) {
    if (kind != kind_)
        selectedId_ = -1;
    kind_ = kind;
    filters_.ResetForKind();
    Rebuild(today);
}

void ManagerList::ResetFilters(bool all) {
    if (all) {
        filters_.ResetAll();
        allOnOnePage_ = true;
    } else {
        filters_.ResetForKind();
    }
}

void ManagerList::Rebuild(const CivilDateTime &today) {
    rows_ = builder_.Build(kind_, filters_, today);
    GoToPage(1);
}

void ManagerList::GoToPage(int page) {
    paging_ = ComputePaging(static_cast<int>(rows_.size()), rowsPerPage_, allOnOnePage_, page);
}

std::string ManagerList::ItemsText() const {
    return session::ItemsText(paging_, static_cast<int>(rows_.size()), allOnOnePage_);
}

std::string ManagerList::FoundText() const {
    return session::FoundText(static_cast<int>(rows_.size()), builder_.KindCount(kind_));
}

std::int32_t ManagerList::Neighbour(std::int32_t id, int step) const {
    const auto it = std::find_if(rows_.begin(), rows_.end(), [id](const TData *r) { return r->Id == id; });
    if (it == rows_.end())
        return -1;
    const auto at = (it - rows_.begin()) + step;
    return at >= 0 && at < static_cast<std::ptrdiff_t>(rows_.size()) ? rows_[static_cast<std::size_t>(at)]->Id
                                                                     : -1;
}

std::string ManagerList::InUseRefusal(const TData &record) const {
    if (record.Usos == 0 || !UsageProtects(kind_))
        return {};
    return std::string("NO se puede eliminar el item") + " \"" + record.Nombre + "\"" + " de la lista de " +
           ListName(kind_) + ", ya que esta siendo usado en" + " \"" + UsageHeader(kind_) + "\"";
}

std::string ManagerList::DeleteQuestion(const TData &record) const {
    // A person is named in full.
    const std::string name = kind_ == database::Kind::Person
                                 ? record.Nombre + " " + static_cast<const TPersona &>(record).Apellidos
                                 : record.Nombre;
    return std::string("Desea eliminar el item") + " \"" + name + "\"" + " de la lista de " + ListName(kind_);
}

std::unordered_set<const TData *> ManagerList::TickedToDelete(bool &untickedAny) {
    std::unordered_set<const TData *> gone;
    untickedAny = false;
    for (TData *r : rows_) {
        if (!r->Marca)
            continue;
        if (r->Usos != 0 && UsageProtects(kind_)) {
            r->Marca = 0;
            untickedAny = true;
        } else {
            gone.insert(r);
        }
    }
    return gone;
}

bool ManagerList::DeleteOne(TData &record, Notifier &notices) {
    if (const std::string refusal = InUseRefusal(record); !refusal.empty()) {
        notices.Notice(NoticeKind::Warning, false, true, refusal);
        return false;
    }
    // "No" is the default answer, so Enter keeps the record.
    if (notices.Ask(DeleteQuestion(record), QuestionStyle{true, false}) != Answer::Yes)
        return false;
    Remove({&record});
    return true;
}

bool ManagerList::DeleteTicked(Notifier &notices, const CivilDateTime &today) {
    bool untickedAny = false;
    const auto gone = TickedToDelete(untickedAny);
    if (untickedAny)
        Rebuild(today);
    if (gone.empty())
        return false;
    const std::string count = std::to_string(gone.size());
    const QuestionStyle deletes{true, false};
    if (notices.Ask("Desea eliminar " + count + " items(s) seleccionado(s)", deletes) != Answer::Yes ||
        notices.Ask("Confirme su deseo de eliminar " + count + " registro(s) seleccionado(s)", deletes) !=
            Answer::Yes)
        return false;
    Remove(gone);
    return true;
}

void ManagerList::Remove(const std::unordered_set<const TData *> &gone) {
    db_.VisitList(kind_, [&gone](auto &list) { RemoveRecords(list, gone); });
    if (Renumbered(kind_))
        db_.Renumber(kind_);
    DataChanged();
    selectedId_ = -1;
    // The removed records must not be reached through the list any more.
    std::erase_if(rows_, [&gone](const TData *r) { return gone.contains(r); });
}

void ManagerList::AssignGroup(std::int32_t group, bool add) {
    if (kind_ != database::Kind::Person)
        return;
    for (TData *r : rows_) {
        auto &groups = static_cast<TPersona *>(r)->Grupos;
        const bool has =
            std::any_of(groups.begin(), groups.end(), [group](const TId &g) { return g.Id == group; });
        if (add && !has) {
            TId ref;
            ref.Id = group;
            groups.push_back(ref);
        } else if (!add && has) {
            std::erase_if(groups, [group](const TId &g) { return g.Id == group; });
        }
    }
    DataChanged();
}

} // namespace cel::session
