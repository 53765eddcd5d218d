#pragma once
// While an InterruptWatch lives, Ctrl+C (SIGINT) and SIGTERM do not end the program at once: they
// are noted, and the command that watches ends its work as its own stop does (a played show ends
// and the scratch folder of a program made for it is removed). One at a time.
namespace brightline::cli {

class InterruptWatch {
  public:
    InterruptWatch();
    ~InterruptWatch();
    InterruptWatch(const InterruptWatch&) = delete;
    InterruptWatch& operator=(const InterruptWatch&) = delete;

    bool interrupted() const;

  private:
    void (*oldInt_)(int);
    void (*oldTerm_)(int);
};

}  // namespace brightline::cli
