#pragma once

#include <QObject>
#include <QStringList>

class QSocketNotifier;

// One running program per user and display. The first start listens under a name made of both;
// a later start hands its files to it and ends. A listening name left behind by a killed
// program answers nobody: it is removed, never trusted.
//
// The socket is a plain Unix socket watched by the event loop: the program needs no network
// library, which would load a dozen more at every start.
class SingleInstance : public QObject {
    Q_OBJECT
  public:
    // `key` tells this user's display from any other (see keyOfThisDisplay).
    explicit SingleInstance(const QString& key, QObject* parent = nullptr);
    ~SingleInstance() override;

    // The socket the program listens on: in a folder only this user can reach (the runtime
    // folder, or /tmp/slope-support-UID made 0700), named from the user's id and the display's
    // key; empty when there is no such folder. A caller of another user is never heard, a
    // silent one is dropped after two seconds, sixteen are heard at once.
    const QString& name() const { return name_; }

    // Hands `files` (an empty list: only come to the front) to a program already running. It
    // took them; or it refused them (a list over 1 MiB); or this start runs: when none listens,
    // it listens instead, removing a name a killed program left; when the one listening is not
    // this user's, or does not answer, or the name cannot be made, it runs alone.
    enum class HandOver { Taken, Refused, RunHere };
    HandOver handOver(const QStringList& files);

    // The display this start shows on: X11's or Wayland's display name. Empty without one
    // (offscreen, as tests run): nobody could see which program came to the front, and each
    // such start runs alone, so that runs side by side never meet.
    static QString keyOfThisDisplay();

  signals:
    // A later start handed these files over (possibly none): open them, come to the front.
    void filesHanded(const QStringList& files);

  private:
    void listen(bool removeLeftName);
    void acceptCallers();

    QString name_;
    int listening_ = -1;
    // the socket file it made, which it removes at the end while it is still there
    unsigned long socketDevice_ = 0, socketInode_ = 0;
    int callers_ = 0;                     // heard now
    QSocketNotifier* listener_ = nullptr; // a child: it follows the instance to another thread
};
