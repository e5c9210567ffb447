// Linked with every object of one layer and nothing above it: this program
// builds only if that layer calls nothing in a higher layer.
int main() { return 0; }
