#pragma once
// CD/DVD auto-launch: the "Mp3 CD autoscan" command, a disc that arrives
// while the program runs, and the program's own disc at start.  A disc with
// one auto-launch list (".cmo") loads it; with several the user chooses;
// with none the disc is scanned into a new list.
#include <QObject>

#include <memory>
#include <string>

class QTimer;
class TFormCmoChoose;
class TSession;
class TShellPort;
class TListFileCommands;
class TListViews;
class TMediaWatcher;
class TScanCommands;

class TCdCommands : public QObject {
    Q_OBJECT
  public:
    TCdCommands(TListViews& views, TListFileCommands& files, TScanCommands& scans,
                const std::string& mountTable);
    ~TCdCommands() override;

    void ActionFileAutoScanExecute() { CdCheck({}); }
    // The first mounted disc that holds files (only the one at `mountPoint`
    // when given) is opened; false when none was or nothing opened.
    bool CdCheck(const std::string& mountPoint);
    bool OpenCd(const std::string& root);
    // At start, when the program runs from a disc: that disc's list.
    bool CheckProgramDisc();
    // Looks for discs mounted since the last look (CDEventsAfterArrival).
    void PollNewMedia();
    // Where mounted discs are looked up from now on; the discs it lists now
    // count as known.
    void UseMountTable(const std::string& mountTable);

    TFormCmoChoose& FormCmoChoose() const { return *formCmoChoose_; }

  private:
    bool LoadChosenList(const std::string& root);
    bool ScanDisc(const std::string& root);

    TListViews& views_;
    TSession& session_;
    TShellPort& shell_;
    TListFileCommands& files_;
    TScanCommands& scans_;
    std::string mountTable_;
    std::unique_ptr<TMediaWatcher> watcher_;
    QTimer* pollTimer_;
    TFormCmoChoose* formCmoChoose_;
};
