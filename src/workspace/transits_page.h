// The "Tránsitos" window: transits, progressions and directions to the natal chart over a period, listed
// with their exact times. The search runs on a thread of its own a chunk at a time, so the list fills
// while the window stays responsive and "Detener" stops it; the list sorts and filters, a timeline
// beside it shows each transit's time in orb, and both print, export to RTF and to CSV. Double-clicking
// a row makes its instant the event of the workspace.
#pragma once

#include <QAbstractTableModel>
#include <QWidget>

#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "common/notifier.h"
#include "common/text_format.h"
#include "document/page_content.h"
#include "graphics/timeline.h"
#include "session/workspace.h"
#include "timing/listing.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QProgressBar;
class QSortFilterProxyModel;
class QTableView;
class QToolButton;

namespace cel::workspace {

// The rows of the listing: source, body, what happens, entering, exact times, leaving. Each column sorts
// by its value (times as times); the rows keep their events. The times read in the program's date style
// ("mar 12 2024, 11:31 am"), in Greenwich time or in a zone's civil time with the offset in force at
// each instant ("... UTC-5"); a row's texts are written when first asked for.
class TransitsModel : public QAbstractTableModel {
public:
    static constexpr int kColumns = 6;
    static constexpr int kSortRole = Qt::UserRole;
    static constexpr int kEventRole = Qt::UserRole + 1; // the row's index in Events()

    explicit TransitsModel(const TextFormat &format) : format_(format) {}

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void Clear();
    // Adds events with their timeline rows (one each).
    void Append(std::vector<timing::TimingEvent> events, std::vector<graphics::TimelineRow> timeline);
    // The offset of each instant's civil time (hours east); empty for Greenwich time.
    void SetOffsetAt(timing::OffsetAt offsetAt);
    const timing::OffsetAt &OffsetAt() const { return offsetAt_; }
    // An instant as the rows write it.
    std::string TimeText(timing::Real days) const;
    const std::vector<timing::TimingEvent> &Events() const { return events_; }
    const timing::ListingRow &Row(std::size_t i) const;
    const std::vector<graphics::TimelineRow> &TimelineRows() const { return timeline_; }
    // The most exact times a row holds (1 to 3, 0 with no rows).
    int MostExactTimes() const { return mostExact_; }

private:
    std::vector<timing::TimingEvent> events_;
    mutable std::vector<std::optional<timing::ListingRow>> rows_;
    std::vector<graphics::TimelineRow> timeline_;
    timing::OffsetAt offsetAt_;
    TextFormat format_;
    int mostExact_ = 0;
};

// The timeline beside the list: the rows the list shows, in its order, from the list's first visible
// row down, under an axis as high as the list's heading. It shows the model's rows through the list's
// order, so following a long list costs no copies.
class TimelineView : public QWidget {
public:
    explicit TimelineView(QWidget *parent = nullptr);
    // Shows (*all)[order[0]], (*all)[order[1]], ...; all must outlive the view's use of it.
    void SetRows(const std::vector<graphics::TimelineRow> *all, std::vector<int> order, double from,
                 double to);
    void SetFirst(int first);
    void SetLayout(graphics::TimelineLayout layout);
    // The rows shown, in their order.
    std::vector<graphics::TimelineRow> Rows() const;
    const graphics::TimelineLayout &Layout() const { return layout_; }
    std::function<void(int steps)> onWheel; // the wheel scrolls the list

protected:
    void paintEvent(QPaintEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    const std::vector<graphics::TimelineRow> *all_ = nullptr;
    std::vector<int> order_;
    double from_ = 0, to_ = 1;
    int first_ = 0;
    graphics::TimelineLayout layout_;
};

class TransitsPage : public QWidget {
public:
    TransitsPage(Notifier &notifier, session::Workspace &workspace, QWidget *parent = nullptr);
    ~TransitsPage() override;

    // The bodies, points and aspects of the workspace's current selection, and a year from the event's
    // date; a new person's chart is taken at the next "Calcular".
    void TakeSelection();
    // Starts the search with the window's choices (stopping one that runs); false, after a notice, when
    // the choices are not searchable.
    bool Start();
    void Stop();
    bool Running() const { return running_; }
    // The natal and event places' zones offered for the times in "Horas:" (their IANA names shown),
    // looked up again when the person, the event or a place changed; a list shown in one of them is
    // written again in its zone.
    void RefreshZones();

    const TransitsModel &Model() const { return *model_; }
    QTableView *List() const { return list_; }
    TimelineView *Timeline() const { return timeline_; }
    // The listing as a page: the rows shown (filtered and sorted) and their timeline.
    document::PageContent PrintContent() const;
    // Writes the rows shown as CSV; false with a notice when the file could not be written.
    bool ExportCsv(const std::string &path);

    // A row chosen (double click or Enter): its instant (continuous days, Greenwich) and its source.
    std::function<void(timing::Real days, timing::Source source)> onChooseInstant;
    // The search's share done after each chunk (tests use it).
    std::function<void(double share)> onProgress;
    // The search ended, stopped or not.
    std::function<void(bool stopped)> onFinished;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void BuildControls();
    // Writes the times in the civil time chosen, and sizes the time columns for it.
    void ApplyTimes();
    void FitColumns();
    bool MakeRequest(timing::ListingRequest &request, QString &problem) const;
    void Receive(int generation, std::vector<timing::TimingEvent> events,
                 std::vector<graphics::TimelineRow> timeline, double share);
    void Finish(int generation, bool stopped);
    void JoinWorker();
    void ChooseRow(const QModelIndex &index);
    void RefreshTimeline();
    void ScheduleTimeline();
    void ShowCount();
    void Print(int how); // 0 preview, 1 print, 2 RTF
    void AskCsv();

    Notifier &notifier_;
    session::Workspace &ws_;
    TransitsModel *model_ = nullptr;
    QSortFilterProxyModel *proxy_ = nullptr;

    QDateEdit *deDesde_ = nullptr, *deHasta_ = nullptr;
    QCheckBox *cbTransitos_ = nullptr, *cbIngresos_ = nullptr, *cbEstaciones_ = nullptr,
              *cbProgresiones_ = nullptr, *cbDirecciones_ = nullptr, *cbCuspides_ = nullptr;
    std::array<QCheckBox *, 12> cbMoving_{};  // 1..11 transiting bodies
    std::array<QCheckBox *, 15> cbPoints_{};  // 1..12 natal bodies, 13 Asc, 14 MC
    std::array<QCheckBox *, 14> cbAspects_{}; // 1..13
    QComboBox *cbHora_ = nullptr;
    QToolButton *sbCalcular_ = nullptr, *sbDetener_ = nullptr;
    QProgressBar *progress_ = nullptr;
    QLabel *labelCount_ = nullptr;
    QLineEdit *leFiltro_ = nullptr;
    QTableView *list_ = nullptr;
    TimelineView *timeline_ = nullptr;
    bool timelinePending_ = false;
    int labelWidth_ = 0; // the timeline's label column, as wide as the widest label received
    std::string timesTitle_ = "horas GMT"; // the print title's words on the times
    int exactShown_ = 0;                   // exact times the "Exacto" column is sized for

    // The search: a thread of its own, told to stop through stop_; results of an older search
    // (generation) are dropped.
    std::thread worker_;
    std::shared_ptr<std::atomic<bool>> stop_;
    int generation_ = 0;
    bool running_ = false;
    timing::Real from_ = 0, to_ = 0; // the period of the list shown
};

} // namespace cel::workspace
