// Tervan: GNSS baseline estimation from between-receiver single differences.
int main() {
  return 0;
}
