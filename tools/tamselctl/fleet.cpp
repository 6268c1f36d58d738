#include "fleet.h"

#include <condition_variable>
#include <mutex>
#include <thread>
#include <utility>

namespace {

class Progress {
public:
    explicit Progress(FILE* stream, qsizetype total) : stream(stream), total(total) {}

    void Update(int done, int failed, int running)
    {
        if (stream == nullptr)
            return;
        const QByteArray line = QStringLiteral("\r%1/%2 terminés, %3 en échec, %4 en cours ")
                                    .arg(done).arg(total).arg(failed).arg(running).toUtf8();
        std::fputs(line.constData(), stream);
        std::fflush(stream);
    }
    void End()
    {
        if (stream == nullptr)
            return;
        std::fputs("\r\033[K", stream);   // the line goes before the summary
        std::fflush(stream);
    }

private:
    FILE* stream;
    qsizetype total;
};

} // namespace

std::vector<FleetOutcome> RunOnFleet(const QStringList& devices, int jobs,
                                     const std::function<FleetOutcome(const QString&)>& operation, FILE* progress)
{
    std::vector<FleetOutcome> outcomes(static_cast<size_t>(devices.size()));
    std::mutex lock;
    std::condition_variable finished;
    int running = 0;
    int done = 0;
    int failed = 0;
    Progress line(progress, devices.size());
    std::vector<std::thread> threads;
    threads.reserve(outcomes.size());
    for (qsizetype i = 0; i < devices.size(); ++i) {
        {
            std::unique_lock guard(lock);
            finished.wait(guard, [&] { return running < jobs; });
            ++running;
            line.Update(done, failed, running);
        }
        threads.emplace_back([&, i] {
            FleetOutcome outcome = operation(devices[i]);
            outcome.device = devices[i];
            std::lock_guard guard(lock);
            failed += outcome.ok ? 0 : 1;
            outcomes[size_t(i)] = std::move(outcome);
            --running;
            ++done;
            line.Update(done, failed, running);
            finished.notify_all();
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    line.End();
    return outcomes;
}
