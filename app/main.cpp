int main() { return 0; }  // TODO(front end)
